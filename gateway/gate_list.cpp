#include "gateway/gate_list.h"

#include <cerrno>
#include <cstring>

#include "aprs/callsign.h"
#include "feeds/log_text.h"
#include "host/atomic_file.h"
#include "host/igate_file.h"
#include "host/igate_text.h"
#include "host/settings_text.h"
#include "gateway/gateway_log.h"

namespace ovelsk::gateway {
namespace {

constexpr std::string_view kAllSuffix = "=ALL";
constexpr std::string_view kExcludeHeader = "[EXCLUDE]";
// A hand edit is found within this long (and so within 2 s of being saved).
constexpr std::int64_t kLookIntervalMs = 1000;
// Past this many distinct ignored lines, further ones are not noted.
constexpr std::size_t kMostNotedLines = 100;

}  // namespace

GateListText parseGateList(std::string_view igateText) {
    GateListText result;
    std::vector<std::string_view>* section = nullptr;  // where the lines of this section go
    while (!igateText.empty()) {
        const auto line = takeIgateLine(igateText);
        const auto trimmed = trimBlanks(line);
        if (isIgateHeader(line)) {
            section = &result.stations;
        } else if (trimmed.starts_with('[')) {
            section = equalsIgnoringCase(trimBlanks(trimmed), kExcludeHeader) ? &result.excluded : nullptr;
        } else if (section && !trimmed.empty() && !trimmed.starts_with(';') && !trimmed.starts_with('#')) {
            const bool station = trimmed.ends_with(kAllSuffix) &&
                                 aprs::isValidSourceCallsign(trimmed.substr(0, trimmed.size() - kAllSuffix.size()));
            if (station) {
                section->push_back(trimmed.substr(0, trimmed.size() - kAllSuffix.size()));
            } else if (section == &result.stations) {
                result.ignoredLines.push_back(line);
            }
        }
    }
    return result;
}

bool GateList::FileStamp::operator==(const FileStamp& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec &&
           changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
}

GateList::GateList(std::filesystem::path igateIni) : igateIni_(std::move(igateIni)) {}

bool GateList::contains(std::string_view callsign, std::int64_t nowMs) {
    refresh(nowMs);
    return stations_.find(callsign) != stations_.end();
}

bool GateList::excludes(std::string_view callsign, std::int64_t nowMs) {
    refresh(nowMs);
    return excluded_.find(callsign) != excluded_.end();
}

void GateList::refresh(std::int64_t now) {
    // A clock set back counts as time passed.
    const bool due = now - lastLookMs_ >= kLookIntervalMs || now < lastLookMs_;
    if (!mayHaveChanged_ && !due) return;
    mayHaveChanged_ = false;
    lastLookMs_ = now;

    ++looks_;
    if (igateIni_.empty()) return unreadable("the host settings name no Program Folder");
    struct stat info {};
    if (::stat(igateIni_.c_str(), &info) != 0) return unreadable(std::strerror(errno));
    // An atomic rewrite brings a new inode, a hand edit a new time or size.
    const FileStamp stamp{info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
    if (stamped_ && stamp == stamp_) return;

    FileError error;
    // Ovelsk writes no larger file; a larger one is a mistake, not a list.
    const auto text = readWholeFile(igateIni_, &error, nullptr, kMaxIgateFileSize);
    if (!text) return unreadable(error.reason);
    ++reads_;
    stamp_ = stamp;
    stamped_ = true;
    unreadableNoted_ = false;
    load(*text);
}

void GateList::load(std::string_view text) {
    const auto parsed = parseGateList(text);
    stations_.clear();
    excluded_.clear();
    for (const auto station : parsed.stations) stations_.emplace(station);
    for (const auto station : parsed.excluded) excluded_.emplace(station);
    for (const auto line : parsed.ignoredLines) {
        if (notedLines_.size() > kMostNotedLines || notedLines_.count(std::string(line)) != 0) continue;
        notedLines_.emplace(line);
        if (notedLines_.size() > kMostNotedLines) {
            qCInfo(lcGate, "gate: more lines of %s are ignored; they are not noted one by one", igateIni_.c_str());
            continue;
        }
        qCInfo(lcGate, "gate: ignored a line of [INET_TO_RF] in %s, not CALL=ALL: \"%s\"", igateIni_.c_str(),
               aprs::valueForLog(line).c_str());
    }
}

void GateList::unreadable(const std::string& reason) {
    stations_.clear();
    excluded_.clear();
    stamped_ = false;
    if (unreadableNoted_) return;
    unreadableNoted_ = true;
    qCWarning(lcGate, "gate: cannot read %s (%s); no station is listed",
              igateIni_.empty() ? "igate.ini" : igateIni_.c_str(), reason.c_str());
}

}  // namespace ovelsk::gateway
