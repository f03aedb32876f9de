#pragma once
// Mic-E: the latitude, message bits and longitude flags ride in the destination,
// the longitude in the first bytes of the information field:
//   N0CALL>TYPS5P,WIDE1-1:`dYgoZO>/Mic-E test      49 03.50N 072 01.75W
// Information field: type byte ("`" or 0x1c current, "'" or 0x1d old), then
// longitude degrees+28, minutes+28, hundredths+28, speed/course (3 bytes),
// symbol code, symbol table, comment.

#include "aprs/position_outcome.h"

#include <string_view>

namespace ovelsk::aprs {

bool isMicEType(char dataType);

// destination is the header's destination field (an SSID is ignored); information
// is the whole information field, type byte included. Blanked latitude digits are
// position ambiguity and blank the same digits of the longitude; the position is
// the centre of the box.
PositionOutcome decodeMicEPosition(std::string_view destination, std::string_view information);

}  // namespace ovelsk::aprs
