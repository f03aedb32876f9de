#pragma once
// AX.25 UI frames, as a KISS TNC hands them over, turned into TNC2 text:
//   destination, source, up to 8 digipeaters (7 bytes each: six callsign
//   characters shifted left one bit, then the SSID byte), control 03, PID F0,
//   information
// becomes
//   N0CALL-9>APRS,N1DIGI,WIDE1*,WIDE2-1:information
// SSID 0 is left out; "*" follows the last digipeater whose has-been-repeated
// bit is set.

#include <optional>
#include <string>
#include <string_view>

namespace ovelsk::aprs {

inline constexpr int kMaxDigipeaters = 8;

// The TNC2 text of an APRS UI frame; nothing for any other frame, or one whose
// address field is malformed.
std::optional<std::string> ax25UiFrameToTnc2(std::string_view frame);

}  // namespace ovelsk::aprs
