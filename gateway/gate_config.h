#pragma once
// The gateway's settings, kept with the host's own in [UI-View32]:
//
//   Gate To RF=on      off (the default), log (decide and log, never transmit) or on
//   Gate Via=WIDE1-1   the digipeater path of gated frames, at most two hops in all; empty for none
//   Gate Limit=6/20    at most 6 frames a minute and 20 in any 5 minutes
//   Gate Port=0        the TNC's radio port to transmit on
//   Gate Messages=180/1  messages to stations heard on radio in 180 minutes, at most 1 hop away; or off
//   Gate Delay=0       seconds a listed station's frame waits for another iGate to send it first
//   Gate To Internet=on  off (the default) or on: what a TNC hears goes to APRS-IS
//   Telemetry=on       off (the default) or on: the iGate's traffic goes to APRS-IS as telemetry

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "host/host_settings.h"

namespace ovelsk::gateway {

inline constexpr std::string_view kGateToRfKey = "Gate To RF";
inline constexpr std::string_view kGateViaKey = "Gate Via";
inline constexpr std::string_view kGateLimitKey = "Gate Limit";
inline constexpr std::string_view kGatePortKey = "Gate Port";
inline constexpr std::string_view kGateToInternetKey = "Gate To Internet";
inline constexpr std::string_view kGateMessagesKey = "Gate Messages";
inline constexpr std::string_view kGateDelayKey = "Gate Delay";
inline constexpr std::string_view kTelemetryKey = "Telemetry";

enum class GateMode {
    Off,  // nothing is judged
    Log,  // every packet is judged and the decision logged; nothing is transmitted
    On,   // listed stations' Internet packets are transmitted
};

// Which Internet messages go to radio: those to a station heard on radio within
// `minutes`, at most `hops` digipeaters away.
struct MessageGating {
    int minutes = 180;
    int hops = 1;
};

struct GateConfig {
    GateMode mode = GateMode::Off;
    // The station's own callsign (the Callsign setting, "-0" left out): the gate
    // signs its frames with it and never passes packets of this exact callsign.
    std::string callsign;
    // The digipeater path of gated frames, one or two addresses separated by ","; empty for none.
    std::string via = "WIDE1-1";
    int perMinute = 6;
    int perFiveMinutes = 20;
    int port = 0;
    // Empty when messages are not gated.
    std::optional<MessageGating> messages = MessageGating{};
    // How long a listed station's frame waits; messages never wait.
    int delaySeconds = 0;
    // Packets a live TNC heard go to the APRS-IS server.
    bool toInternet = false;
    // The iGate's traffic goes to the APRS-IS server as telemetry.
    bool telemetry = false;
};

// The gate's settings, checked against the station's `callsign` and `feeds`
// entries (either direction needs an aprs-is feed and a kiss or kiss-serial
// feed, transmitting a real callsign too); or the message for the first bad one.
std::variant<GateConfig, std::string> readGateConfig(const HostSettings& settings, std::string_view callsign,
                                                     const std::vector<std::string>& feeds);

}  // namespace ovelsk::gateway
