#include "standin/create_standin_host.h"

#include <algorithm>
#include <iostream>

#include "feeds/feed_factory.h"
#include "standin/host_config.h"

namespace ovelsk::aprs {

std::variant<std::unique_ptr<StandinHost>, std::string> createStandinHost(const StandinStartup& startup) {
    static const SystemClock systemClock;
    std::ostream& log = startup.log ? *startup.log : std::cerr;

    HostSettings settings(startup.settingsFile);
    if (const auto error = settings.load())
        return "Host settings " + settings.path().string() + " cannot be read: " + error->reason;
    if (!settings.exists()) {
        if (auto error = setUpFirstStart(settings, startup.firstStartFolder, log)) return std::move(*error);
    }

    auto config = readHostConfig(settings);
    if (auto* error = std::get_if<std::string>(&config)) return std::move(*error);
    const HostConfig& host = std::get<HostConfig>(config);
    if (host.programFolder.empty()) {
        log << "Host settings " << settings.path().string() << ": \"" << kProgramFolderKey
            << "\" is empty or missing, so igate.ini will not be kept\n"
            << std::flush;
    }

    auto standin = std::make_unique<StandinHost>(host.home, host.distanceUnit,
                                                 startup.clock ? *startup.clock : systemClock);
    // A server filter needs a positive radius even where the range text is not one.
    const double rangeKilometres = std::max(1.0, kilometres(startup.range, host.distanceUnit));
    const AprsIsLogin login{host.callsign, host.passcode,
                            host.filter.empty() ? aprsIsRangeFilter(host.home.latitude, host.home.longitude, rangeKilometres)
                                                : host.filter};
    const FeedContext context{standin->packetSink(), host.home, host.replaySpeed, login, &log, startup.makeTimer};
    for (const auto& entry : host.feeds) {
        auto feed = makeFeed(entry, context);
        if (auto* allowed = std::get_if<std::string>(&feed)) return settingError(settings, kFeedsKey, entry, *allowed);
        standin->addFeed(std::move(std::get<std::unique_ptr<Feed>>(feed)));
    }
    return standin;
}

}  // namespace ovelsk::aprs
