#pragma once
// What the status page reads, and nothing else: the host's report, the station
// tracker, the window's range box, and the program's version and start.

#include <chrono>
#include <functional>
#include <string>

#include "host/date_time.h"
#include "standin/host_report.h"
#include "stations/station_tracker.h"

namespace ovelsk {

struct StatusSources {
    const standin::HostReport& host;
    const StationTracker& tracker;
    const Clock& clock;  // the tracker's, whose times it shows
    std::function<std::string()> rangeText;
    std::string programVersion;  // "1.0.0"
    std::chrono::system_clock::time_point started;
};

}  // namespace ovelsk
