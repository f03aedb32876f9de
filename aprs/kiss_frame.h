#pragma once
// KISS framing in the other direction: a frame for the TNC to transmit.
//   C0 <port << 4> <AX.25 frame> C0, C0 inside sent as DB DC and DB as DB DD

#include <string>
#include <string_view>

namespace ovelsk::aprs {

// The KISS data frame that asks the TNC to transmit `ax25Frame` on radio port
// `port` (0 to 15).
std::string kissDataFrame(int port, std::string_view ax25Frame);

}  // namespace ovelsk::aprs
