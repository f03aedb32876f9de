#pragma once
// The shape of a source callsign: the only callsigns Ovelsk ever takes from a
// feed, so nothing else can reach the host's gateway list.
//   N0CALL   N0CALL-9   DL1ABC-10   W1AW-A1

#include <string_view>

namespace ovelsk::aprs {

// 1 to 9 letters or digits, optionally "-" and 1 or 2 letters or digits.
bool isValidSourceCallsign(std::string_view callsign);

}  // namespace ovelsk::aprs
