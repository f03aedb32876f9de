#pragma once
// AX.25 UI frames, as a KISS TNC hands them over, turned into TNC2 text and back:
//   destination, source, up to 8 digipeaters (7 bytes each: six callsign
//   characters shifted left one bit, then the SSID byte), control 03, PID F0,
//   information
// becomes
//   N0CALL-9>APRS,N1DIGI,WIDE1*,WIDE2-1:information
// SSID 0 is left out; "*" follows the last digipeater whose has-been-repeated
// bit is set.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ovelsk::aprs {

inline constexpr int kMaxDigipeaters = 8;
// The longest information field an APRS frame on the air may carry.
inline constexpr std::size_t kMaxInformationBytes = 256;

// The TNC2 text of an APRS UI frame; nothing for any other frame, or one whose
// address field is malformed.
std::optional<std::string> ax25UiFrameToTnc2(std::string_view frame);

// "CALL" or "CALL-N": 1 to 6 capital letters and digits, N from 0 to 15 without
// leading zeros; what fits the 7 bytes of an address.
bool isAx25Address(std::string_view address);

// The UI frame of a TNC2 packet, for a TNC to transmit: control 03, PID F0,
// every SSID byte with its two reserved bits set, the command bit on the
// destination (a UI frame is an AX.25 2.0 command), the end bit on the last
// address, and the has-been-repeated bit on a digipeater marked "*" and on every
// one before it. Nothing when an address is not an AX.25 address, there are
// more than 8 digipeaters or the information is longer than 256 bytes.
std::optional<std::string> tnc2ToAx25UiFrame(std::string_view tnc2);

}  // namespace ovelsk::aprs
