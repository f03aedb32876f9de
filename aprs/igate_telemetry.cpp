#include "aprs/igate_telemetry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "aprs/aprs_message.h"

namespace ovelsk::aprs {
namespace {

constexpr int kSequences = 1000;
constexpr double kHighestValue = 255;

// Names and units stay within the protocol's widths for the five analog
// channels: 7, 7, 6, 6 and 5 characters.
constexpr std::string_view kNames = "PARM.RxPkts,IsTx,RfTx,MsgTx,Local";
constexpr std::string_view kUnits = "UNIT.pkt/m,pkt/m,pkt/m,msg/m,calls";
// value = a * raw^2 + b * raw + c: the raw value is the value.
constexpr std::string_view kEquations = "EQNS.0,1,0,0,1,0,0,1,0,0,1,0,0,1,0";

}  // namespace

std::string telemetryReport(int sequence, const TelemetryValues& values) {
    char text[64];
    int length = std::snprintf(text, sizeof text, "T#%03d", ((sequence % kSequences) + kSequences) % kSequences);
    for (const double value : values) {
        const double held = std::isnan(value) ? 0 : std::clamp(std::round(value), 0.0, kHighestValue);
        length += std::snprintf(text + length, sizeof text - static_cast<std::size_t>(length), ",%03d",
                                static_cast<int>(held));
    }
    return std::string(text, static_cast<std::size_t>(length)) + ",00000000";
}

std::array<std::string, 3> telemetryDefinitions(std::string_view callsign) {
    return {aprsMessageInformation(callsign, kNames), aprsMessageInformation(callsign, kUnits),
            aprsMessageInformation(callsign, kEquations)};
}

}  // namespace ovelsk::aprs
