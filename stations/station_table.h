#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "host/date_time.h"

namespace ovelsk {

struct StationRecord {
    std::string callsign;        // exactly as the host delivered it
    float bearing = 0;           // degrees from home, from the host's station lists
    DateTime lastHeardOther = 0; // last beacon via the Internet or as RF 3rd-party traffic
    DateTime lastHeardRf = 0;    // last beacon heard directly on radio, or neverHeard
    std::int16_t inUse = 0;      // -1 holds a station, 0 is free
    float distance = 0;          // from home, in the host's distance unit
};

inline constexpr int kStationSlots = 151;
inline constexpr int kMaxStationsShown = 150;  // the figure the full-table message names

using StationTable = std::array<StationRecord, kStationSlots>;

}  // namespace ovelsk
