#pragma once
// The frame an iGate puts on the air for a packet it heard on the Internet: the
// packet goes in a third-party information field, behind the gate's own header,
// its Internet path replaced by TCPIP and the gate:
//   N0TEST>APZOVL,WIDE1-1:}K0ABC-9>APRS,TCPIP,N0TEST*:!4903.50N/07201.75W-

#include <string>
#include <string_view>

#include "aprs/tnc2_packet.h"

namespace ovelsk::aprs {

// The destination that names Ovelsk as the sending program.
inline constexpr std::string_view kOvelskDestination = "APZOVL";

// "}SRC>DEST,TCPIP,GATE*:INFO" of the Internet packet `inner`.
std::string thirdPartyInformation(std::string_view gateCallsign, const Tnc2Packet& inner);

// "GATE>APZOVL[,VIA]:" and `information`; no via when `via` is empty.
std::string thirdPartyFrameText(std::string_view gateCallsign, std::string_view via, std::string_view information);

}  // namespace ovelsk::aprs
