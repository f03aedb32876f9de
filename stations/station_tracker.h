#pragma once
// Beacon intake, the station table and the candidate list: from one host event to
// the rows the user sees and the host's gateway section.

#include <string>
#include <string_view>
#include <vector>

#include "host/date_time.h"
#include "host/gateway_section.h"
#include "host/host_application.h"
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
    std::string FormatLastHeardRf(DateTime lastHeardRf) const;

    const StationTable& table() const { return table_; }
    const std::vector<std::string>& candidateRows() const { return rows_; }
    DateTime neverHeard() const { return neverHeard_; }

private:
    std::string candidateRow(const StationRecord& station) const;

    TrackerWindow& window_;
    HostApplication& host_;
    GatewaySection& gateway_;
    const Clock& clock_;
    DateTime neverHeard_;
    StationTable table_{};
    std::vector<std::string> rows_;
};

// Station-list line columns, counted from 1: callsign 2 to 12, bearing 55 to 57.
std::string_view stationListCallsign(std::string_view line);
float stationListBearing(std::string_view line);

// A 32-bit float as the list shows it: at most 7 significant digits, no trailing
// zeros, exponent form only where 7 digits do not reach (0.3333333, 40, 12.5).
std::string formatSingle(float value);

// Orders candidate rows as the list keeps them: case-insensitive text order.
bool candidateRowBefore(std::string_view a, std::string_view b);

}  // namespace ovelsk
