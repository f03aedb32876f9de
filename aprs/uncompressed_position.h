#pragma once
// The plain-text position that follows "!", "=", "/" and "@" (after any timestamp):
//   4903.50N/07201.75W-Test 001234     latitude, symbol table, longitude, symbol code
//   4903.  N/07201.  W-                position ambiguity: trailing digits blanked

#include "aprs/position_outcome.h"

#include <string_view>

namespace ovelsk::aprs {

// Reads the position at the start of body; the rest of body is the comment (for DAO).
// A symbol table byte other than "/", "\", "0".."9" or "A".."Z" gives "bad symbol table".
// An ambiguous position is placed at the centre of its box, and the ambiguity of
// either coordinate applies to both.
PositionOutcome decodeUncompressedPosition(std::string_view body);

}  // namespace ovelsk::aprs
