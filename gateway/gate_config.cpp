#include "gateway/gate_config.h"

#include <utility>

#include "aprs/aprs_message.h"
#include "aprs/ax25_frame.h"
#include "host/settings_text.h"
#include "gateway/setting_error.h"
#include "feeds/feed_factory.h"

namespace ovelsk::gateway {
namespace {

constexpr int kMostPerMinute = 20;
constexpr int kMostPerFiveMinutes = 80;
constexpr int kHighestPort = 15;
constexpr int kMostViaHops = 2;
constexpr int kMostMessageMinutes = 1440;
constexpr int kMostMessageHops = 7;
constexpr int kMostDelaySeconds = 10;

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

// Words a path may hold but a digipeater never answers to: they would mark our
// own frames as Internet-only or already gated. An SSID does not change the word.
bool isNeverADigipeater(std::string_view address) {
    const auto word = address.substr(0, address.find('-'));
    return word == "TCPIP" || word == "TCPXX" || word == "NOGATE" || word == "RFONLY" ||
           (word.size() == 3 && (word[0] == 'q' || word[0] == 'Q') && (word[1] == 'A' || word[1] == 'a'));
}

// "WIDE1-1,WIDE2-1" as the frame shows it, or nothing when an address is not a
// digipeater's or the path asks for more than two hops.
std::optional<std::string> digipeaterPath(std::string_view text) {
    std::string path;
    for (;;) {
        const auto comma = text.find(',');
        const auto address = trimBlanks(text.substr(0, comma));
        if (!aprs::isAx25Address(address) || isNeverADigipeater(address)) return std::nullopt;
        if (!path.empty()) path += ',';
        path += withoutSsidZero(std::string(address));
        if (comma == std::string_view::npos)
            return aprs::digipeaterHopsAsked(path) <= kMostViaHops ? std::optional(path) : std::nullopt;
        text.remove_prefix(comma + 1);
    }
}

// "N/M", two whole numbers.
std::optional<std::pair<int, int>> numberPair(std::string_view text) {
    const auto slash = text.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const auto first = wholeNumber(text.substr(0, slash));
    const auto second = wholeNumber(text.substr(slash + 1));
    if (!first || !second) return std::nullopt;
    return std::pair(*first, *second);
}

// "M/H" within their bounds.
std::optional<MessageGating> messageGating(std::string_view text) {
    const auto numbers = numberPair(text);
    if (!numbers || numbers->first < 1 || numbers->first > kMostMessageMinutes || numbers->second < 0 ||
        numbers->second > kMostMessageHops)
        return std::nullopt;
    return MessageGating{numbers->first, numbers->second};
}

// Gating either way joins an APRS-IS server and a TNC.
bool hasServerAndTnc(const std::vector<std::string>& feeds) {
    return aprs::hasFeed(feeds, "aprs-is") && (aprs::hasFeed(feeds, "kiss") || aprs::hasFeed(feeds, "kiss-serial"));
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
        const auto path = via->empty() ? std::optional<std::string>("") : digipeaterPath(*via);
        if (!path)
            return settingError(settings, kGateViaKey, *via,
                                "one or two digipeater addresses asking at most two hops in all (an alias NAMEn-N "
                                "asks N, any other address one), such as WIDE1-1 (the default), WIDE2-2 or "
                                "WIDE1-1,WIDE2-1, or nothing for no digipeater path; not TCPIP, TCPXX, NOGATE, "
                                "RFONLY or a q construct, whatever its SSID");
        gate.via = *path;
    }

    const std::string limit = settings.value(kGateLimitKey).value_or("");
    if (!limit.empty()) {
        const auto numbers = numberPair(limit);
        if (!numbers || numbers->first < 1 || numbers->first > kMostPerMinute || numbers->second < numbers->first ||
            numbers->second > kMostPerFiveMinutes)
            return settingError(settings, kGateLimitKey, limit,
                                "N/M, at most N frames a minute and M in any 5 minutes: N from 1 to 20, M from N "
                                "to 80 (the default is 6/20)");
        gate.perMinute = numbers->first;
        gate.perFiveMinutes = numbers->second;
    }

    const std::string port = settings.value(kGatePortKey).value_or("");
    if (!port.empty()) {
        const auto number = wholeNumber(port);
        if (!number || *number < 0 || *number > kHighestPort)
            return settingError(settings, kGatePortKey, port,
                                "the TNC's radio port for transmissions, 0 to 15 (the default is 0)");
        gate.port = *number;
    }

    const std::string messages = settings.value(kGateMessagesKey).value_or("");
    if (equalsIgnoringCase(messages, "off")) {
        gate.messages.reset();
    } else if (!messages.empty()) {
        gate.messages = messageGating(messages);
        if (!gate.messages)
            return settingError(settings, kGateMessagesKey, messages,
                                "M/H, messages to stations heard on radio in the last M minutes (1 to 1440) at most "
                                "H digipeater hops away (0 to 7), 180/1 by default; or off");
    }

    const std::string delay = settings.value(kGateDelayKey).value_or("");
    if (!delay.empty()) {
        const auto seconds = wholeNumber(delay);
        if (!seconds || *seconds < 0 || *seconds > kMostDelaySeconds)
            return settingError(settings, kGateDelayKey, delay,
                                "seconds a listed station's frame waits for another iGate to send it, 0 (the "
                                "default) to 10");
        gate.delaySeconds = *seconds;
    }

    gate.callsign = aprs::isAx25Address(callsign) ? withoutSsidZero(std::string(callsign)) : std::string(callsign);
    if (gate.mode == GateMode::On) {
        if (!hasServerAndTnc(feeds))
            return settingError(settings, kGateToRfKey, mode,
                                "on only with an aprs-is feed and a kiss or kiss-serial feed in Feeds (else off or log)");
        if (!aprs::isAx25Address(callsign) || isPlaceholder(callsign))
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

    const std::string telemetry = settings.value(kTelemetryKey).value_or("");
    gate.telemetry = equalsIgnoringCase(telemetry, "on");
    if ((!telemetry.empty() && !gate.telemetry && !equalsIgnoringCase(telemetry, "off")) ||
        (gate.telemetry && !aprs::hasFeed(feeds, "aprs-is")))
        return settingError(settings, kTelemetryKey, telemetry,
                            "off (the default) or on (the iGate's traffic goes to the APRS-IS server as telemetry, "
                            "with an aprs-is feed in Feeds)");
    return gate;
}

}  // namespace ovelsk::gateway
