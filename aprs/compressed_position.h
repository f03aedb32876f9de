#pragma once
// The compressed position that follows "!", "=", "/" and "@" (after any timestamp):
//   /5L!!<*e7>7P[      symbol table, 4 base-91 latitude, 4 base-91 longitude,
//                      symbol code, course/speed (or range, altitude) pair, type byte
//   /5L!!<*e7>  T      the same without course and speed (blank pair)

#include "aprs/position_outcome.h"

#include <string_view>

namespace ovelsk::aprs {

// body starts with the symbol table byte; one that no table allows gives "bad symbol table".
PositionOutcome decodeCompressedPosition(std::string_view body);

}  // namespace ovelsk::aprs
