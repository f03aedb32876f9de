#pragma once
// The station table the radar benchmarks draw: 151 stations spread over the whole
// circle at distances up to the range of 40.

#include "stations/station_table.h"

namespace ovelsk {

inline StationTable spreadStations() {
    StationTable table{};
    for (int slot = 0; slot < kStationSlots; ++slot) {
        table[slot].inUse = -1;
        table[slot].bearing = static_cast<float>(slot) * 360.0f / kStationSlots;
        table[slot].distance = static_cast<float>(1 + slot * 37 % 40);
    }
    return table;
}

}  // namespace ovelsk
