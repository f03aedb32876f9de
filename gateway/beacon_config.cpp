#include "gateway/beacon_config.h"

#include "aprs/igate_beacon.h"
#include "host/settings_text.h"
#include "gateway/setting_error.h"

namespace ovelsk::gateway {
namespace {

// Often enough to stay on the maps, rarely enough to leave the channel to others.
constexpr int kFewestMinutes = 10;
constexpr int kMostMinutes = 24 * 60;

// On or off, with `fallback` for an empty or missing key; nothing for any other text.
std::optional<bool> onOrOff(const HostSettings& settings, std::string_view key, bool fallback) {
    const std::string text = settings.value(key).value_or("");
    if (text.empty()) return fallback;
    if (equalsIgnoringCase(text, "on")) return true;
    if (equalsIgnoringCase(text, "off")) return false;
    return std::nullopt;
}

}  // namespace

std::variant<BeaconConfig, std::string> readBeaconConfig(const HostSettings& settings, const GateConfig& gate) {
    BeaconConfig beacon;
    const auto on = onOrOff(settings, kBeaconKey, beacon.on);
    if (!on)
        return settingError(settings, kBeaconKey, settings.value(kBeaconKey).value_or(""),
                            "on (the default: the iGate's position goes to APRS-IS) or off");
    beacon.on = *on;

    const std::string interval = settings.value(kBeaconIntervalKey).value_or("");
    if (!interval.empty()) {
        const auto minutes = wholeNumber(interval);
        if (!minutes || *minutes < kFewestMinutes || *minutes > kMostMinutes)
            return settingError(settings, kBeaconIntervalKey, interval,
                                "minutes between beacons, 10 to 1440 (the default is 30)");
        beacon.intervalMinutes = *minutes;
    }

    if (const auto comment = settings.value(kBeaconCommentKey)) {
        if (!aprs::isValidBeaconComment(*comment))
            return settingError(settings, kBeaconCommentKey, *comment,
                                "at most 43 characters of printable ASCII (the default is Ovelsk iGate)");
        beacon.comment = *comment;
    }

    const auto toRf = onOrOff(settings, kBeaconToRfKey, beacon.toRf);
    if (!toRf)
        return settingError(settings, kBeaconToRfKey, settings.value(kBeaconToRfKey).value_or(""),
                            "off (the default) or on (also transmitted through the TNC; needs Gate To RF=on)");
    beacon.toRf = *toRf;
    if (beacon.toRf && gate.mode != GateMode::On)
        return settingError(settings, kBeaconToRfKey, "on", "on only with Gate To RF=on (else off)");
    return beacon;
}

}  // namespace ovelsk::gateway
