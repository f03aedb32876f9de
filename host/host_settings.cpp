#include "host/host_settings.h"

#include <algorithm>

#include "host/igate_text.h"
#include "host/settings_text.h"
#include "host/xdg_folders.h"

namespace ovelsk {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Blanks around section names, keys and values.
constexpr std::string_view kBlanksAndCr = " \t\r";

// "[Name]" gives Name; any other line gives nullopt.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trimBlanks(line, kBlanksAndCr);
    if (line.size() < 2 || line.front() != '[' || line.back() != ']') return std::nullopt;
    return trimBlanks(line.substr(1, line.size() - 2), kBlanksAndCr);
}

struct KeyValue {
    std::string_view key;
    std::string_view value;
    std::size_t line = 0;
};

std::optional<KeyValue> keyValue(std::string_view line) {
    const auto trimmed = trimBlanks(line, kBlanksAndCr);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') return std::nullopt;
    const auto eq = trimmed.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return KeyValue{trimBlanks(trimmed.substr(0, eq), kBlanksAndCr),
                    trimBlanks(trimmed.substr(eq + 1), kBlanksAndCr)};
}

// The key-value lines inside the [UI-View32] section (or, with `inside` false,
// outside it), in file order.
std::vector<KeyValue> entries(const std::vector<std::string>& lines, bool inside = true) {
    std::vector<KeyValue> found;
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = sectionName(lines[i])) {
            inSection = equalsIgnoringCase(*name, kHostSettingsSection);
        } else if (inSection == inside) {
            if (auto kv = keyValue(lines[i])) {
                kv->line = i + 1;
                found.push_back(*kv);
            }
        }
    }
    return found;
}

std::string_view lineEndOf(std::string_view content) {
    const auto end = content.find_first_of("\r\n");
    if (end == std::string_view::npos || content[end] == '\n') return "\n";
    return content.substr(end).starts_with("\r\n") ? "\r\n" : "\r";
}

}  // namespace

HostSettings::HostSettings(std::filesystem::path file) : file_(std::move(file)) {}

std::filesystem::path HostSettings::defaultPath() { return xdgConfigHome() / "Peak Systems" / "UI-View32.ini"; }

std::optional<FileError> HostSettings::load() {
    lines_.clear();
    exists_ = false;
    byteOrderMark_ = false;
    lineEnd_ = "\n";
    // Only a file that is certainly not there counts as empty settings; a folder
    // that may not be searched is an error like any other.
    std::error_code ec;
    const auto status = std::filesystem::status(file_, ec);
    if (status.type() == std::filesystem::file_type::not_found) return std::nullopt;
    if (ec) return FileError{ec.message()};
    FileError error;
    const auto content = readWholeFile(file_, &error);
    if (!content) return error;
    if (savedAsUtf16(*content)) return FileError{"it is saved as UTF-16 (Unicode); save it as plain text (UTF-8)"};
    exists_ = true;
    std::string_view rest = *content;
    if (rest.starts_with(kByteOrderMark)) {
        byteOrderMark_ = true;
        rest.remove_prefix(kByteOrderMark.size());
    }
    lineEnd_ = lineEndOf(rest);
    while (!rest.empty()) lines_.emplace_back(takeIgateLine(rest));
    return std::nullopt;
}

std::optional<std::string> HostSettings::value(std::string_view key) const {
    for (const auto& entry : entries(lines_)) {
        if (equalsIgnoringCase(entry.key, key)) return std::string(entry.value);
    }
    return std::nullopt;
}

std::vector<std::string> HostSettings::keys() const {
    std::vector<std::string> keys;
    for (const auto& entry : entries(lines_)) keys.emplace_back(entry.key);
    return keys;
}

bool HostSettings::hasSection() const {
    return std::any_of(lines_.begin(), lines_.end(), [](const std::string& line) {
        const auto name = sectionName(line);
        return name && equalsIgnoringCase(*name, kHostSettingsSection);
    });
}

std::vector<HostSettings::KeyLine> HostSettings::keysOutsideSection() const {
    std::vector<KeyLine> outside;
    for (const auto& entry : entries(lines_, false)) outside.push_back({std::string(entry.key), entry.line});
    return outside;
}

std::vector<std::pair<HostSettings::KeyLine, HostSettings::KeyLine>> HostSettings::repeatedKeys() const {
    std::vector<std::pair<KeyLine, KeyLine>> repeated;
    const auto inSection = entries(lines_);
    for (auto later = inSection.begin(); later != inSection.end(); ++later) {
        const auto first = std::find_if(inSection.begin(), later, [&later](const KeyValue& earlier) {
            return equalsIgnoringCase(earlier.key, later->key);
        });
        if (first != later)
            repeated.push_back({{std::string(later->key), later->line}, {std::string(first->key), first->line}});
    }
    return repeated;
}

bool HostSettings::setValue(std::string_view key, std::string_view value) {
    key = trimBlanks(key, kBlanksAndCr);
    if (key.empty() || key.find_first_of("=\r\n") != std::string_view::npos || key.front() == '[' ||
        key.front() == ';' || key.front() == '#' || value.find_first_of("\r\n") != std::string_view::npos) {
        return false;
    }
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
            return true;
        }
        if (!trimBlanks(lines_[i], kBlanksAndCr).empty()) sectionEnd = i + 1;
    }
    if (!sectionEnd) {
        if (!lines_.empty() && !trimBlanks(lines_.back(), kBlanksAndCr).empty()) lines_.emplace_back();
        lines_.push_back("[" + std::string(kHostSettingsSection) + "]");
        sectionEnd = lines_.size();
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*sectionEnd), line);
    return true;
}

std::optional<FileError> HostSettings::save() const {
    if (file_.has_parent_path()) {
        std::error_code ec;
        std::filesystem::create_directories(file_.parent_path(), ec);
        if (ec) return FileError{ec.message()};
    }
    std::string content(byteOrderMark_ ? kByteOrderMark : std::string_view{});
    for (const auto& line : lines_) {
        content += line;
        content += lineEnd_;
    }
    auto temp = file_;
    temp += ".tmp";
    return replaceFileAtomically(file_, temp, content);
}

}  // namespace ovelsk
