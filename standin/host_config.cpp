#include "standin/host_config.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <optional>

#include "aprs/aprs_is_login.h"
#include "feeds/feed_factory.h"
#include "feeds/log_text.h"
#include "host/settings_text.h"

namespace ovelsk::standin {
namespace {

// A plain decimal number ("40.015", "-105.27", "+2", "1e1"); nothing else, not "nan", "inf" or "+-40".
std::optional<double> plainNumber(std::string_view text) {
    const bool plus = !text.empty() && text.front() == '+';
    if (plus) text.remove_prefix(1);
    if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text.front())) ||
                          (text.front() == '-' && !plus) || text.front() == '.'))
        return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (ec != std::errc{} || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

struct Problem {
    std::string_view key;
    std::string value;
    std::string_view allowed;
};

// "40,5": a decimal comma, as many locales write numbers.
std::string_view commaNote(std::string_view text) {
    std::string pointed(text);
    std::replace(pointed.begin(), pointed.end(), ',', '.');
    return pointed != text && plainNumber(pointed) ? "use a point, not a comma" : "";
}

std::optional<double> coordinate(const HostSettings& settings, std::string_view key, double limit,
                                 std::string_view allowed, std::optional<Problem>& problem) {
    const std::string text = settings.value(key).value_or("");
    const auto value = plainNumber(text);
    if (!value || std::abs(*value) > limit) {
        problem = Problem{key, text, allowed};
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::string_view distanceUnitText(DistanceUnit unit) { return unit == DistanceUnit::Miles ? "mi" : "km"; }

std::variant<HostConfig, std::string> readHostConfig(const HostSettings& settings) {
    HostConfig config;
    std::optional<Problem> problem;
    const auto fail = [&] {
        return gateway::settingError(settings, problem->key, problem->value, problem->allowed, commaNote(problem->value));
    };

    // Read as it stands: "~/host/" names no folder here, and a relative one would
    // change with the folder the program starts in.
    config.programFolder = settings.value(kProgramFolderKey).value_or("");
    if (const std::filesystem::path folder = config.programFolder; !folder.empty()) {
        std::error_code ec;
        const auto status = std::filesystem::status(folder, ec);
        const std::string_view note = !folder.is_absolute()                                   ? ""
                                      : status.type() == std::filesystem::file_type::not_found ? "it does not exist"
                                      : !std::filesystem::is_directory(status)               ? "it is not a folder"
                                                                                               : "";
        if (!folder.is_absolute() || !std::filesystem::is_directory(status)) {
            return gateway::settingError(settings, kProgramFolderKey, config.programFolder,
                                "the absolute path of an existing folder, where igate.ini is kept (~ is not "
                                "expanded), or empty to keep no igate.ini",
                                note);
        }
    }

    const auto latitude =
        coordinate(settings, kLatitudeKey, 90, "decimal degrees from -90 to 90, north positive", problem);
    if (!latitude) return fail();
    const auto longitude =
        coordinate(settings, kLongitudeKey, 180, "decimal degrees from -180 to 180, east positive", problem);
    if (!longitude) return fail();
    config.home = {*latitude, *longitude};

    const std::string unit = settings.value(kDistanceUnitKey).value_or("");
    if (equalsIgnoringCase(unit, "km")) {
        config.distanceUnit = DistanceUnit::Kilometres;
    } else if (!unit.empty() && !equalsIgnoringCase(unit, "mi")) {
        return gateway::settingError(settings, kDistanceUnitKey, unit, "mi (statute miles, the default) or km");
    }

    const std::string speed = settings.value(kReplaySpeedKey).value_or("");
    if (!speed.empty()) {
        const auto value = plainNumber(speed);
        if (!value || *value <= 0 || *value > kMaxReplaySpeed)
            return gateway::settingError(settings, kReplaySpeedKey, speed,
                                "a number greater than 0 and at most 10000 (1, the default, is real time)",
                                commaNote(speed));
        config.replaySpeed = *value;
    }

    const std::string feedsText = settings.value(kFeedsKey).value_or("");
    std::string_view feeds = feedsText;
    constexpr std::string_view kFeedsAllowed = "at most 16 feeds separated by single commas";
    while (!feeds.empty()) {
        const auto comma = feeds.find(',');
        const auto entry = trimBlanks(feeds.substr(0, comma));
        if (entry.empty() || config.feeds.size() == kMaxFeeds) return gateway::settingError(settings, kFeedsKey, feedsText, kFeedsAllowed);
        config.feeds.emplace_back(entry);
        if (comma == std::string_view::npos) break;
        feeds.remove_prefix(comma + 1);
        if (trimBlanks(feeds).empty()) return gateway::settingError(settings, kFeedsKey, feedsText, kFeedsAllowed);
    }

    // Two connections to APRS-IS make a loop: what one server takes from us
    // comes back through the other, late, past the servers' 30 s duplicate check.
    if (std::count_if(config.feeds.begin(), config.feeds.end(),
                      [](const std::string& entry) { return aprs::isFeedOf(entry, "aprs-is"); }) > 1)
        return gateway::settingError(settings, kFeedsKey, feedsText,
                            "one aprs-is feed at most: two connections to APRS-IS loop packets back to the "
                            "network as delayed duplicates (a round-robin name such as rotate.aprs2.net finds "
                            "another server when one fails)");

    config.callsign = settings.value(kCallsignKey).value_or("");
    if (config.callsign.empty() ? aprs::hasFeed(config.feeds, "aprs-is") : !aprs::isValidAprsIsCallsign(config.callsign)) {
        return gateway::settingError(settings, kCallsignKey, config.callsign,
                            "the station's callsign, 1 to 9 letters, digits and \"-\" (the aprs-is feed logs in with it)");
    }
    const std::string passcode = settings.value(kPasscodeKey).value_or("");
    if (!passcode.empty()) {
        const auto number = wholeNumber(passcode);
        if (!number || *number < -1 || *number > 32767)
            return gateway::settingError(settings, kPasscodeKey, passcode,
                                "the APRS-IS passcode of the callsign, 0 to 32767, or -1 (the default) to receive only");
        config.passcode = *number;
    }
    config.filter = settings.value(kFilterKey).value_or("");
    if (!aprs::isValidAprsIsFilter(config.filter)) {
        return gateway::settingError(settings, kFilterKey, config.filter,
                            "an APRS-IS server filter on one line, such as r/40.015/-105.27/65 "
                            "(the default is the range around home)");
    }
    const std::string statusPage = settings.value(kStatusPageKey).value_or("");
    const auto page = parseStatusPageSetting(statusPage);
    if (!page)
        return gateway::settingError(settings, kStatusPageKey, statusPage,
                            "off (the default), PORT (on 127.0.0.1), ADDRESS:PORT or [IPv6 ADDRESS]:PORT, "
                            "with a numeric address and a port from 1 to 65535");
    config.statusPage = *page;
    const std::string statusPageNames = settings.value(kStatusPageNamesKey).value_or("");
    const auto names = parseStatusPageNames(statusPageNames);
    if (!names)
        return gateway::settingError(settings, kStatusPageNamesKey, statusPageNames,
                            "DNS names the status page answers to besides IP addresses, localhost and this "
                            "machine's name, comma-separated, such as igate.lan");
    if (auto* address = std::get_if<StatusPageAddress>(&config.statusPage)) address->names = *names;
    auto gate = gateway::readGateConfig(settings, config.callsign, config.feeds);
    if (auto* error = std::get_if<std::string>(&gate)) return std::move(*error);
    config.gate = std::move(std::get<gateway::GateConfig>(gate));
    auto beacon = gateway::readBeaconConfig(settings, config.gate);
    if (auto* error = std::get_if<std::string>(&beacon)) return std::move(*error);
    config.beacon = std::move(std::get<gateway::BeaconConfig>(beacon));
    return config;
}

}  // namespace ovelsk::standin
