#pragma once
// An iGate's traffic as APRS telemetry: five analog channels, each a per-minute
// average, and the definitions that name them on the maps. The values are sent
// as the protocol's three digits, 000 to 255 (strict servers drop anything
// else), and the sequence number counts 000 to 999 and wraps:
//   M0IGT-10>APZOVL,TCPIP*:T#042,012,011,001,000,003,00000000
// The definitions are messages to the iGate itself:
//   M0IGT-10>APZOVL,TCPIP*::M0IGT-10 :PARM.RxPkts,IsTx,RfTx,MsgTx,Local
//   M0IGT-10>APZOVL,TCPIP*::M0IGT-10 :UNIT.pkt/m,pkt/m,pkt/m,msg/m,calls
//   M0IGT-10>APZOVL,TCPIP*::M0IGT-10 :EQNS.0,1,0,0,1,0,0,1,0,0,1,0,0,1,0

#include <array>
#include <string>
#include <string_view>

namespace ovelsk::aprs {

inline constexpr std::size_t kTelemetryChannels = 5;

// The channels in their order: packets heard on radio, packets gated to
// APRS-IS, frames gated to radio and messages gated to radio, a minute each on
// average; and the stations a message would be passed to now.
using TelemetryValues = std::array<double, kTelemetryChannels>;

// "T#nnn,..." for `sequence` (taken modulo 1000), each value rounded and held
// within 0 to 255.
std::string telemetryReport(int sequence, const TelemetryValues& values);

// The information of the PARM., UNIT. and EQNS. messages to `callsign`.
std::array<std::string, 3> telemetryDefinitions(std::string_view callsign);

}  // namespace ovelsk::aprs
