#pragma once
// The settings of the iGate's own beacon, kept with the host's in [UI-View32]:
//
//   Beacon=on                 on (the default) or off
//   Beacon Interval=30        minutes between beacons, 10 to 1440
//   Beacon Comment=Ovelsk iGate   at most 43 characters of printable ASCII
//   Beacon To RF=off          on also transmits it on Gate Port, through Gate Via

#include <string>
#include <string_view>
#include <variant>

#include "host/host_settings.h"
#include "gateway/gate_config.h"

namespace ovelsk::gateway {

inline constexpr std::string_view kBeaconKey = "Beacon";
inline constexpr std::string_view kBeaconIntervalKey = "Beacon Interval";
inline constexpr std::string_view kBeaconCommentKey = "Beacon Comment";
inline constexpr std::string_view kBeaconToRfKey = "Beacon To RF";

struct BeaconConfig {
    bool on = true;
    int intervalMinutes = 30;
    std::string comment = "Ovelsk iGate";
    bool toRf = false;
};

// The beacon's settings, checked against the gate's (`gate`); or the message for
// the first bad one.
std::variant<BeaconConfig, std::string> readBeaconConfig(const HostSettings& settings, const GateConfig& gate);

}  // namespace ovelsk::gateway
