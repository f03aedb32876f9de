#include "standin/create_standin_host.h"

#include <algorithm>

#include "feeds/feed_factory.h"
#include "host/host_folder.h"
#include "host/igate_file.h"
#include "standin/host_config.h"
#include "standin/setting_keys.h"
#include "standin/standin_log.h"

namespace ovelsk::aprs {

std::variant<std::unique_ptr<StandinHost>, std::string> createStandinHost(const StandinStartup& startup) {
    static const SystemClock systemClock;

    HostSettings settings(startup.settingsFile);
    if (const auto error = settings.load())
        return "Host settings " + settings.path().string() + " cannot be read: " + error->reason;
    if (!settings.exists()) {
        if (auto error = setUpFirstStart(settings, startup.firstStartFolder)) return std::move(*error);
    }
    for (const auto& warning : unknownSettingWarnings(settings)) qCWarning(lcSettings, "%s", warning.c_str());

    auto config = readHostConfig(settings);
    if (auto* error = std::get_if<std::string>(&config)) return std::move(*error);
    const HostConfig& host = std::get<HostConfig>(config);
    if (host.programFolder.empty()) {
        qCWarning(lcSettings, "Host settings %s: \"%s\" is empty or missing, so igate.ini will not be kept",
                  settings.path().c_str(), std::string(kProgramFolderKey).c_str());
    }

    const Clock& clock = startup.clock ? *startup.clock : systemClock;
    auto standin = std::make_unique<StandinHost>(host.home, host.distanceUnit, clock);
    // A server filter needs a positive radius even where the range text is not one.
    const double rangeKilometres = std::max(1.0, kilometres(startup.range, host.distanceUnit));
    const AprsIsLogin login{host.callsign, host.passcode,
                            host.filter.empty() ? aprsIsRangeFilter(host.home.latitude, host.home.longitude, rangeKilometres)
                                                : host.filter};
    StandinHost* target = standin.get();
    const FeedContext context{[target](FeedOrigin origin) { return target->packetSink(origin); },
                              host.home,
                              host.replaySpeed,
                              login,
                              startup.makeTimer};
    // Gated frames go out through the first feed that reaches a TNC, and what a
    // TNC hears goes to the first APRS-IS server.
    KissTransmitter* transmitter = nullptr;
    AprsIsUplink* uplink = nullptr;
    for (const auto& entry : host.feeds) {
        auto feed = makeFeed(entry, context);
        if (auto* allowed = std::get_if<std::string>(&feed)) return settingError(settings, kFeedsKey, entry, *allowed);
        auto& made = std::get<std::unique_ptr<Feed>>(feed);
        if (!transmitter) transmitter = made->transmitter();
        if (!uplink) uplink = made->uplink();
        standin->addFeed(std::move(made));
    }
    const auto igateIni =
        host.programFolder.empty() ? std::filesystem::path() : hostFolderFile(host.programFolder, kIgateFileName);
    standin->setIdentity({host.callsign, host.home, host.distanceUnit, settings.path(), host.programFolder, igateIni,
                          host.gate.mode, host.gate.toInternet && uplink, host.statusPage});
    if (host.gate.mode != GateMode::Off) {
        auto gate = std::make_unique<InternetToRfGate>(host.gate, igateIni, clock);
        gate->setTransmitter(transmitter);
        standin->setGate(std::move(gate));
    }
    if (host.gate.toInternet && uplink) {
        standin->setInternetGate(std::make_unique<RadioToInternetGate>(host.callsign, host.passcode, *uplink, clock));
    }
    return standin;
}

}  // namespace ovelsk::aprs
