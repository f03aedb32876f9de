#pragma once
// The gateway's settings, kept with the host's own in [UI-View32]:
//
//   Gate To RF=on      off (the default), log (decide and log, never transmit) or on
//   Gate Via=WIDE1-1   the digipeater path of gated frames; empty for none
//   Gate Limit=6/20    at most 6 frames a minute and 20 in any 5 minutes
//   Gate Port=0        the TNC's radio port to transmit on
//   Gate To Internet=on  off (the default) or on: what a TNC hears goes to APRS-IS

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "host/host_settings.h"

namespace ovelsk::aprs {

inline constexpr std::string_view kGateToRfKey = "Gate To RF";
inline constexpr std::string_view kGateViaKey = "Gate Via";
inline constexpr std::string_view kGateLimitKey = "Gate Limit";
inline constexpr std::string_view kGatePortKey = "Gate Port";
inline constexpr std::string_view kGateToInternetKey = "Gate To Internet";

enum class GateMode {
    Off,  // nothing is judged
    Log,  // every packet is judged and the decision logged; nothing is transmitted
    On,   // listed stations' Internet packets are transmitted
};

struct GateConfig {
    GateMode mode = GateMode::Off;
    // The station's own callsign (the Callsign setting, "-0" left out): the gate
    // signs its frames with it and never passes packets of its own base callsign.
    std::string callsign;
    std::string via = "WIDE1-1";
    int perMinute = 6;
    int perFiveMinutes = 20;
    int port = 0;
    // Packets a live TNC heard go to the first APRS-IS server.
    bool toInternet = false;
};

// The gate's settings, checked against the station's `callsign` and `feeds`
// entries (either direction needs an aprs-is feed and a kiss or kiss-serial
// feed, transmitting a real callsign too); or the message for the first bad one.
std::variant<GateConfig, std::string> readGateConfig(const HostSettings& settings, std::string_view callsign,
                                                     const std::vector<std::string>& feeds);

}  // namespace ovelsk::aprs
