#pragma once
// Beacon intake, the station table and the candidate list: from one host event to
// the rows the user sees and the host's gateway section.

#include <string>
#include <string_view>
#include <vector>

#include "host/date_time.h"
#include "host/gateway_section.h"
#include "host/host_application.h"
#include "host/station_list_line.h"
#include "stations/station_table.h"
#include "stations/tracker_window.h"

namespace ovelsk {

inline constexpr double kNeverHeardDaysBack = 7200;
inline constexpr double kKeepAliveMinutes = 60;
inline constexpr double kRfQuietMinutes = 20;

class StationTracker {
public:
    // `neverHeard` is the start-up date-time minus 7200 days.
    StationTracker(TrackerWindow& window, HostApplication& host, GatewaySection& gateway, const Clock& clock,
                   DateTime neverHeard);

    // Handles the host's NotifyBeaconData event.
    void mUIV_NotifyBeaconData(const StationObject& cStn);

    void RecordBeacon(const std::string& callsign, float distance, bool heardViaRf);
    float LookupBearing(std::string_view callsign);
    void RebuildCandidateList();
    // The same rebuild, run once a minute by the window's timer, so that stations
    // expire and come off the quiet window when no beacon comes. The list and the
    // host's section are replaced only when the rows changed.
    void RebuildOnTimer();
    std::string FormatLastHeardRf(DateTime lastHeardRf) const;

    const StationTable& table() const { return table_; }
    const std::vector<std::string>& candidateRows() const { return rows_; }
    DateTime neverHeard() const { return neverHeard_; }

private:
    // Building row texts costs more than the rest of a rebuild, and a slot's row
    // changes only when the slot does: each slot keeps its last row and what it
    // was built from.
    struct CachedRow {
        std::string callsign;
        float distance = 0;
        float bearing = 0;
        DateTime lastHeardRf = 0;
        DateTime shownLastHeardRf = 0;  // moves when the wall clock steps
        std::string text;
        std::string orderKey;  // the text in lower case: the list's order is case-insensitive
        bool built = false;
    };

    void rebuild(bool evenIfUnchanged);
    const CachedRow& candidateRow(size_t slot);

    TrackerWindow& window_;
    HostApplication& host_;
    GatewaySection& gateway_;
    const Clock& clock_;
    DateTime neverHeard_;
    StationTable table_{};
    std::array<CachedRow, kStationSlots> rowCache_{};
    std::vector<std::string> rows_;
};

// The bearing of a station-list line (columns 55 to 57), 0 where they hold no number.
float stationListBearing(std::string_view line);

// A 32-bit float as the list shows it: at most 7 significant digits, no trailing
// zeros, exponent form only where 7 digits do not reach (0.3333333, 40, 12.5).
std::string formatSingle(float value);

}  // namespace ovelsk
