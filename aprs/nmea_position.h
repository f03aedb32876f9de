#pragma once
// Raw GPS sentences sent as the information field by simple trackers:
//   $GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A
//   $GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47
//   $GPGLL,4916.45,N,12311.12,W,225444,A       (time and status may be left out)
// (also with the "GN" talker). A checksum, when present, must match.

#include "aprs/position_outcome.h"

#include <string_view>

namespace ovelsk::aprs {

// information is the whole information field, starting with "$". A sentence of
// another kind, or one without a valid fix, gives "no position".
PositionOutcome decodeNmeaPosition(std::string_view information);

}  // namespace ovelsk::aprs
