#include "standin/gate_config.h"

#include "aprs/ax25_frame.h"
#include "host/settings_text.h"
#include "standin/host_config.h"

namespace ovelsk::aprs {
namespace {

constexpr int kMostPerMinute = 20;
constexpr int kMostPerFiveMinutes = 80;
constexpr int kHighestPort = 15;

// "N0CALL-0" and "N0CALL" are one address; the frame shows the short form.
std::string withoutSsidZero(std::string address) {
    if (address.ends_with("-0")) address.resize(address.size() - 2);
    return address;
}

// Callsigns that ship in sample settings and never belong to anyone.
bool isPlaceholder(std::string_view callsign) {
    const auto base = callsign.substr(0, callsign.find('-'));
    return base == "N0CALL" || base == "NOCALL" || base == "MYCALL";
}

// Gating either way joins an APRS-IS server and a TNC.
bool hasServerAndTnc(const std::vector<std::string>& feeds) {
    return hasFeed(feeds, "aprs-is") && (hasFeed(feeds, "kiss") || hasFeed(feeds, "kiss-serial"));
}

}  // namespace

std::variant<GateConfig, std::string> readGateConfig(const HostSettings& settings, std::string_view callsign,
                                                     const std::vector<std::string>& feeds) {
    GateConfig gate;
    const std::string mode = settings.value(kGateToRfKey).value_or("");
    if (equalsIgnoringCase(mode, "log")) {
        gate.mode = GateMode::Log;
    } else if (equalsIgnoringCase(mode, "on")) {
        gate.mode = GateMode::On;
    } else if (!mode.empty() && !equalsIgnoringCase(mode, "off")) {
        return settingError(settings, kGateToRfKey, mode,
                            "off (the default), log (decide and log, never transmit) or on (transmit through the "
                            "first kiss or kiss-serial feed)");
    }

    if (const auto via = settings.value(kGateViaKey)) {
        if (!via->empty() && !isAx25Address(*via))
            return settingError(settings, kGateViaKey, *via,
                                "one AX.25 address such as WIDE1-1 (the default), or nothing for no digipeater path");
        gate.via = withoutSsidZero(*via);
    }

    const std::string limit = settings.value(kGateLimitKey).value_or("");
    if (!limit.empty()) {
        const auto slash = limit.find('/');
        const auto perMinute = wholeNumber(std::string_view(limit).substr(0, slash));
        const auto perFive = slash == std::string::npos ? std::nullopt
                                                        : wholeNumber(std::string_view(limit).substr(slash + 1));
        if (!perMinute || !perFive || *perMinute < 1 || *perMinute > kMostPerMinute || *perFive < *perMinute ||
            *perFive > kMostPerFiveMinutes)
            return settingError(settings, kGateLimitKey, limit,
                                "N/M, at most N frames a minute and M in any 5 minutes: N from 1 to 20, M from N "
                                "to 80 (the default is 6/20)");
        gate.perMinute = *perMinute;
        gate.perFiveMinutes = *perFive;
    }

    const std::string port = settings.value(kGatePortKey).value_or("");
    if (!port.empty()) {
        const auto number = wholeNumber(port);
        if (!number || *number < 0 || *number > kHighestPort)
            return settingError(settings, kGatePortKey, port,
                                "the TNC's radio port for transmissions, 0 to 15 (the default is 0)");
        gate.port = *number;
    }

    gate.callsign = isAx25Address(callsign) ? withoutSsidZero(std::string(callsign)) : std::string(callsign);
    if (gate.mode == GateMode::On) {
        if (!hasServerAndTnc(feeds))
            return settingError(settings, kGateToRfKey, mode,
                                "on only with an aprs-is feed and a kiss or kiss-serial feed in Feeds (else off or log)");
        if (!isAx25Address(callsign) || isPlaceholder(callsign))
            return settingError(settings, kCallsignKey, callsign,
                                "with Gate To RF=on, the station's own callsign as an AX.25 address: 1 to 6 capital "
                                "letters and digits, then -1 to -15 if any; not N0CALL, NOCALL or MYCALL");
    }

    const std::string toInternet = settings.value(kGateToInternetKey).value_or("");
    gate.toInternet = equalsIgnoringCase(toInternet, "on");
    if (!toInternet.empty() && !gate.toInternet && !equalsIgnoringCase(toInternet, "off"))
        return settingError(settings, kGateToInternetKey, toInternet,
                            "off (the default) or on (what a TNC hears goes to the APRS-IS server)");
    if (gate.toInternet && !hasServerAndTnc(feeds))
        return settingError(settings, kGateToInternetKey, toInternet,
                            "on only with an aprs-is feed and a kiss or kiss-serial feed in Feeds (else off)");
    return gate;
}

}  // namespace ovelsk::aprs
