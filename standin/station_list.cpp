#include "standin/station_list.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "host/station_list_line.h"

namespace ovelsk::standin {
namespace {

// Keeps the distance inside its columns whatever it is.
constexpr double kLargestShownDistance = 99999999.9;

}  // namespace

std::string formatStationListLine(const StationListEntry& entry) {
    // Callsigns are at most 9 characters; a longer one is cut so the columns hold.
    char callsign[12];
    std::snprintf(callsign, sizeof callsign, "%.*s%s", static_cast<int>(std::min<std::size_t>(entry.callsign.size(), 10)),
                  entry.callsign.data(), entry.viaDigipeater ? "*" : "");
    char line[96];
    std::snprintf(line, sizeof line, " %-11s %-19.*s %10.1f %-2.*s %7s%3ld", callsign,
                  static_cast<int>(std::min<std::size_t>(entry.lastHeard.size(), 19)), entry.lastHeard.data(),
                  std::min(entry.distance, kLargestShownDistance),
                  static_cast<int>(std::min<std::size_t>(entry.unit.size(), 2)), entry.unit.data(), "",
                  std::lround(std::clamp(entry.bearing, 0.0, 360.0)));
    return line;
}

std::string stationListHeader() {
    char line[96];
    std::snprintf(line, sizeof line, " %-11s %-19s %10s %-2s %7s%3s", "Callsign", "Last heard", "Distance", "", "",
                  "Brg");
    return line;
}

StationList::StationList(std::size_t maxLines, std::string header)
    : maxLines_(std::clamp<std::size_t>(maxLines, header.empty() ? 1 : 2, kMaxStationListLines)) {
    if (!header.empty()) {
        lines_.push_back(std::move(header));
        callsignOfLine_.emplace_back();
        readsBackOtherwise_.push_back(false);
        newer_.push_back(kNone);
        older_.push_back(kNone);
    }
}

void StationList::update(const StationListEntry& entry) {
    auto found = byCallsign_.find(entry.callsign);
    std::size_t line;
    if (found != byCallsign_.end()) {
        line = found->second;
    } else if (lines_.size() < maxLines_) {
        line = lines_.size();
        lines_.emplace_back();
        callsignOfLine_.emplace_back(entry.callsign);
        readsBackOtherwise_.push_back(false);
        newer_.push_back(kNone);
        older_.push_back(kNone);
        byCallsign_.emplace(entry.callsign, line);
    } else {
        line = oldest_;
        byCallsign_.erase(callsignOfLine_[line]);
        callsignOfLine_[line] = entry.callsign;
        byCallsign_.emplace(entry.callsign, line);
    }
    lines_[line] = formatStationListLine(entry);
    const bool otherwise = stationListCallsign(lines_[line]) != entry.callsign;
    if (otherwise != readsBackOtherwise_[line]) {
        readsBackOtherwise_[line] = otherwise;
        otherwise ? ++linesReadBackOtherwise_ : --linesReadBackOtherwise_;
    }
    moveToNewest(line);
}

std::optional<std::string_view> StationList::find(std::string_view callsign) const {
    const auto found = byCallsign_.find(callsign);
    if (found == byCallsign_.end()) return std::nullopt;
    return lines_[found->second];
}

void StationList::unlink(std::size_t line) {
    const std::size_t older = older_[line];
    const std::size_t newer = newer_[line];
    if (older != kNone) newer_[older] = newer; else if (oldest_ == line) oldest_ = newer;
    if (newer != kNone) older_[newer] = older; else if (newest_ == line) newest_ = older;
    older_[line] = newer_[line] = kNone;
}

void StationList::moveToNewest(std::size_t line) {
    if (newest_ == line) return;
    unlink(line);
    older_[line] = newest_;
    if (newest_ != kNone) newer_[newest_] = line;
    newest_ = line;
    if (oldest_ == kNone) oldest_ = line;
}

}  // namespace ovelsk::standin
