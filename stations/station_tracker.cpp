#include "stations/station_tracker.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "stations/range_value.h"

namespace ovelsk {
namespace {

constexpr double kKeepAlive = 60.0 / 1440.0;
constexpr double kRfQuiet = 20.0 / 1440.0;

constexpr std::string_view kNotHeardViaRf = "Not Heard Via RF";

bool pathShowsInternet(std::string_view path) {
    return path.find(",q") != std::string_view::npos || path.find("TCPIP") != std::string_view::npos;
}

}  // namespace

StationTracker::StationTracker(TrackerWindow& window, HostApplication& host, GatewaySection& gateway,
                               const Clock& clock, DateTime neverHeard)
    : window_(window), host_(host), gateway_(gateway), clock_(clock), neverHeard_(neverHeard) {}

void StationTracker::mUIV_NotifyBeaconData(const StationObject& cStn) {
    if (cStn.sourceNumber == kInternetStreamSource) {
        RecordBeacon(cStn.callsign, cStn.distance, false);
        window_.setStatus(cStn.callsign + " Via Internet Stream");
        return;
    }
    const bool thirdParty = pathShowsInternet(cStn.path);
    RecordBeacon(cStn.callsign, cStn.distance, !thirdParty);
    window_.setStatus(cStn.callsign + (thirdParty ? " Via RF 3rd Party Frame" : " Via RF"));
}

void StationTracker::RecordBeacon(const std::string& callsign, float distance, bool heardViaRf) {
    const auto range = rangeValue(window_.rangeText());
    if (!range) return;
    // Written as "not within" so that a distance that is not a number is never recorded.
    if (!(distance <= *range)) return;

    auto target = std::find_if(table_.begin(), table_.end(),
                               [&](const StationRecord& s) { return s.inUse == -1 && s.callsign == callsign; });
    if (target == table_.end()) {
        target = std::find_if(table_.begin(), table_.end(), [](const StationRecord& s) { return s.inUse == 0; });
        if (target == table_.end()) {
            window_.setStatus("Max " + std::to_string(kMaxStationsShown) + " Stations");
            return;
        }
        // Every field starts afresh: a time the slot's last occupant left behind
        // would be shown as the newcomer's.
        *target = StationRecord{.callsign = callsign, .lastHeardRf = neverHeard_};
    }

    target->inUse = -1;
    (heardViaRf ? target->lastHeardRf : target->lastHeardOther) = clock_.now();
    target->distance = distance;
    target->bearing = LookupBearing(target->callsign);
    RebuildCandidateList();
}

// Asking the host for each line anew makes a beacon cost in proportion to the
// lists (30,000 lines each are possible); a host that keeps an index answers the
// same search itself, for the same line. The walk is what hosts without one get.
float StationTracker::LookupBearing(std::string_view callsign) {
    if (const auto found = host_.findStationLine(callsign); found.answered) {
        return found.line ? stationListBearing(*found.line) : 0;
    }
    const std::int16_t count = host_.stationListCount();
    for (std::int16_t i = 0; i < count; ++i) {
        const auto line = host_.stationListLine(i);
        if (stationListCallsign(line) == callsign) return stationListBearing(line);
    }
    const auto second = host_.secondStationList();
    for (size_t i = 1; i < second.size(); ++i) {
        if (stationListCallsign(second[i]) == callsign) return stationListBearing(second[i]);
    }
    return 0;
}

void StationTracker::RebuildCandidateList() { rebuild(true); }

void StationTracker::RebuildOnTimer() { rebuild(false); }

void StationTracker::rebuild(bool evenIfUnchanged) {
    const DateTime now = clock_.now();
    // After a beacon, RecordBeacon found the range numeric in this same event; on
    // the timer it may not be, and then no slot is freed for distance.
    const auto range = rangeValue(window_.rangeText());

    for (auto& station : table_) {
        if (station.inUse != -1) continue;
        const bool heardViaRf = now - kKeepAlive <= station.lastHeardRf;
        const bool heardOtherwise = now - kKeepAlive <= station.lastHeardOther;
        if (!heardViaRf && !heardOtherwise) station.inUse = 0;
        if (range && *range < station.distance) station.inUse = 0;
    }

    std::vector<const CachedRow*> listed;
    for (size_t slot = 0; slot < table_.size(); ++slot) {
        const auto& station = table_[slot];
        if (station.inUse == -1 && station.lastHeardRf < now - kRfQuiet) listed.push_back(&candidateRow(slot));
    }
    // Stable, so rows with the same text keep slot order.
    std::stable_sort(listed.begin(), listed.end(),
                     [](const CachedRow* a, const CachedRow* b) { return a->orderKey < b->orderKey; });
    const bool unchanged = std::equal(rows_.begin(), rows_.end(), listed.begin(), listed.end(),
                                      [](const std::string& shown, const CachedRow* row) { return shown == row->text; });
    if (unchanged && !evenIfUnchanged) return;
    rows_.clear();
    for (const auto* row : listed) rows_.push_back(row->text);

    window_.replaceCandidateRows(rows_);
    gateway_.WriteIgateSection(rows_);
}

std::string StationTracker::FormatLastHeardRf(DateTime lastHeardRf) const {
    if (lastHeardRf == neverHeard_) return std::string(kNotHeardViaRf);
    return formatLocalDateTime(clock_.shownTime(lastHeardRf));
}

const StationTracker::CachedRow& StationTracker::candidateRow(size_t slot) {
    const auto& station = table_[slot];
    auto& row = rowCache_[slot];
    const DateTime shownLastHeardRf = clock_.shownTime(station.lastHeardRf);
    if (row.built && row.callsign == station.callsign && row.distance == station.distance &&
        row.bearing == station.bearing && row.lastHeardRf == station.lastHeardRf &&
        row.shownLastHeardRf == shownLastHeardRf)
        return row;

    // A second tab after short callsigns keeps the columns under the header.
    const char* afterCallsign = station.callsign.size() <= 7 ? "\t\t" : "\t";
    row.text = formatSingle(station.distance) + "\t" + station.callsign + afterCallsign +
               FormatLastHeardRf(station.lastHeardRf) + "\t" + formatSingle(station.bearing);
    row.orderKey = row.text;
    for (auto& c : row.orderKey) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    row.callsign = station.callsign;
    row.distance = station.distance;
    row.bearing = station.bearing;
    row.lastHeardRf = station.lastHeardRf;
    row.shownLastHeardRf = shownLastHeardRf;
    row.built = true;
    return row;
}

float stationListBearing(std::string_view line) { return rangeValue(stationListColumns(line, 55, 3)).value_or(0.0f); }

std::string formatSingle(float value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 7).ptr;
    std::string result(text, end);
    if (const auto e = result.find('e'); e != std::string::npos) result[e] = 'E';
    return result;
}

}  // namespace ovelsk
