#include "host/host_settings.h"

#include "host/settings_text.h"
#include "host/xdg_folders.h"

namespace ovelsk {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// A line read may still hold the CR of a CR LF ending.
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
};

std::optional<KeyValue> keyValue(std::string_view line) {
    const auto trimmed = trimBlanks(line, kBlanksAndCr);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') return std::nullopt;
    const auto eq = trimmed.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return KeyValue{trimBlanks(trimmed.substr(0, eq), kBlanksAndCr),
                    trimBlanks(trimmed.substr(eq + 1), kBlanksAndCr)};
}

// The key-value lines of the [UI-View32] section, in file order.
std::vector<KeyValue> sectionEntries(const std::vector<std::string>& lines) {
    std::vector<KeyValue> entries;
    bool inSection = false;
    for (const auto& line : lines) {
        if (const auto name = sectionName(line)) {
            inSection = equalsIgnoringCase(*name, kHostSettingsSection);
        } else if (inSection) {
            if (const auto kv = keyValue(line)) entries.push_back(*kv);
        }
    }
    return entries;
}

}  // namespace

HostSettings::HostSettings(std::filesystem::path file) : file_(std::move(file)) {}

std::filesystem::path HostSettings::defaultPath() { return xdgConfigHome() / "Peak Systems" / "UI-View32.ini"; }

std::optional<FileError> HostSettings::load() {
    lines_.clear();
    exists_ = false;
    byteOrderMark_ = false;
    crlf_ = false;
    // Only a file that is certainly not there counts as empty settings; a folder
    // that may not be searched is an error like any other.
    std::error_code ec;
    const auto status = std::filesystem::status(file_, ec);
    if (status.type() == std::filesystem::file_type::not_found) return std::nullopt;
    if (ec) return FileError{ec.message()};
    FileError error;
    const auto content = readWholeFile(file_, &error);
    if (!content) return error;
    exists_ = true;
    std::string_view rest = *content;
    if (rest.starts_with(kByteOrderMark)) {
        byteOrderMark_ = true;
        rest.remove_prefix(kByteOrderMark.size());
    }
    const auto firstLf = rest.find('\n');
    crlf_ = firstLf != std::string_view::npos && firstLf > 0 && rest[firstLf - 1] == '\r';
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
    for (const auto& entry : sectionEntries(lines_)) {
        if (equalsIgnoringCase(entry.key, key)) return std::string(entry.value);
    }
    return std::nullopt;
}

std::vector<std::string> HostSettings::keys() const {
    std::vector<std::string> keys;
    for (const auto& entry : sectionEntries(lines_)) keys.emplace_back(entry.key);
    return keys;
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
    const std::string_view lineEnd = crlf_ ? "\r\n" : "\n";
    for (const auto& line : lines_) {
        content += line;
        content += lineEnd;
    }
    auto temp = file_;
    temp += ".tmp";
    return replaceFileAtomically(file_, temp, content);
}

}  // namespace ovelsk
