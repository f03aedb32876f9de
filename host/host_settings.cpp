#include "host/host_settings.h"

#include <algorithm>
#include <cstdlib>

namespace ovelsk {
namespace {

std::string_view trimBlanks(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// "[Name]" gives Name; any other line gives nullopt.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trimBlanks(line);
    if (line.size() < 2 || line.front() != '[' || line.back() != ']') return std::nullopt;
    return trimBlanks(line.substr(1, line.size() - 2));
}

struct KeyValue {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyValue> keyValue(std::string_view line) {
    const auto trimmed = trimBlanks(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') return std::nullopt;
    const auto eq = trimmed.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return KeyValue{trimBlanks(trimmed.substr(0, eq)), trimBlanks(trimmed.substr(eq + 1))};
}

}  // namespace

HostSettings::HostSettings(std::filesystem::path file) : file_(std::move(file)) {}

std::filesystem::path HostSettings::defaultPath() {
    std::filesystem::path base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = std::filesystem::path(home) / ".config";
    } else {
        base = ".config";
    }
    return base / "Peak Systems" / "UI-View32.ini";
}

std::optional<FileError> HostSettings::load() {
    lines_.clear();
    exists_ = false;
    std::error_code ec;
    if (!std::filesystem::exists(file_, ec)) return std::nullopt;
    FileError error;
    const auto content = readWholeFile(file_, &error);
    if (!content) return error;
    exists_ = true;
    std::string_view rest = *content;
    while (!rest.empty()) {
        const auto eol = rest.find('\n');
        auto line = rest.substr(0, eol);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines_.emplace_back(line);
        rest = eol == std::string_view::npos ? std::string_view{} : rest.substr(eol + 1);
    }
    return std::nullopt;
}

std::optional<std::string> HostSettings::value(std::string_view key) const {
    bool inSection = false;
    std::optional<std::string> found;
    for (const auto& line : lines_) {
        if (const auto name = sectionName(line)) {
            inSection = equalsIgnoringCase(*name, kHostSettingsSection);
        } else if (inSection) {
            if (const auto kv = keyValue(line); kv && equalsIgnoringCase(kv->key, key)) found = std::string(kv->value);
        }
    }
    return found;
}

void HostSettings::setValue(std::string_view key, std::string_view value) {
    const std::string line = std::string(key) + "=" + std::string(value);
    bool inSection = false;
    std::optional<size_t> sectionEnd;  // index after the last line of our section
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (const auto name = sectionName(lines_[i])) {
            inSection = equalsIgnoringCase(*name, kHostSettingsSection);
            if (inSection) sectionEnd = i + 1;
            continue;
        }
        if (!inSection) continue;
        if (const auto kv = keyValue(lines_[i]); kv && equalsIgnoringCase(kv->key, key)) {
            lines_[i] = line;
            return;
        }
        if (!trimBlanks(lines_[i]).empty()) sectionEnd = i + 1;
    }
    if (!sectionEnd) {
        if (!lines_.empty() && !trimBlanks(lines_.back()).empty()) lines_.emplace_back();
        lines_.push_back("[" + std::string(kHostSettingsSection) + "]");
        sectionEnd = lines_.size();
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*sectionEnd), line);
}

std::optional<FileError> HostSettings::save() const {
    std::error_code ec;
    std::filesystem::create_directories(file_.parent_path(), ec);
    if (ec) return FileError{ec.message()};
    std::string content;
    for (const auto& line : lines_) content += line + "\n";
    auto temp = file_;
    temp += ".tmp";
    return replaceFileAtomically(file_, temp, content);
}

}  // namespace ovelsk
