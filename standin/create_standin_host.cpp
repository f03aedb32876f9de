#include "standin/create_standin_host.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "aprs/igate_beacon.h"
#include "feeds/demo_feed.h"
#include "feeds/feed_factory.h"
#include "host/host_folder.h"
#include "host/igate_file.h"
#include "standin/first_start.h"
#include "standin/host_config.h"
#include "standin/setting_keys.h"
#include "standin/settings_file_warnings.h"
#include "standin/standin_log.h"

namespace ovelsk::standin {
namespace {

// The iGate's own beacon, when its settings ask for one and it has somewhere to go.
std::unique_ptr<gateway::BeaconSender> makeBeaconSender(const HostSettings& settings, const HostConfig& host,
                                               aprs::AprsIsUplink* uplink, aprs::KissTransmitter* transmitter,
                                               std::unique_ptr<aprs::FeedTimer> timer) {
    gateway::BeaconPlan plan;
    if (uplink && host.passcode != aprs::kReceiveOnlyPasscode) plan.uplink = uplink;
    if (host.beacon.toRf) plan.transmitter = transmitter;
    if (!host.beacon.on || (!plan.uplink && !plan.transmitter)) return nullptr;
    // A wrong position on the map is worse than none.
    if (host.home.latitude == aprs::kDemoHome.latitude && host.home.longitude == aprs::kDemoHome.longitude) {
        qCWarning(lcSettings,
                  "Host settings %s: \"%s\" and \"%s\" are still the demo's home, so the iGate sends no beacon; "
                  "set them to its own position",
                  settings.path().c_str(), std::string(kLatitudeKey).c_str(), std::string(kLongitudeKey).c_str());
        return nullptr;
    }
    const bool deliversMessagesToRadio = host.gate.mode == gateway::GateMode::On && host.gate.messages;
    plan.information = aprs::igatePositionReport(host.home.latitude, host.home.longitude,
                                           aprs::igateOverlay(deliversMessagesToRadio, host.gate.via), host.beacon.comment);
    plan.interval = std::chrono::minutes(host.beacon.intervalMinutes);
    plan.loginCallsign = host.callsign;
    plan.radioCallsign = host.gate.callsign;
    plan.via = host.gate.via;
    plan.port = host.gate.port;
    return std::make_unique<gateway::BeaconSender>(plan, std::move(timer));
}

// Said once at each start while the lines are there; Ovelsk never edits the
// user's part of igate.ini, so the user deletes them.
void warnOfDemoStationsLeft(const std::filesystem::path& igateIni) {
    std::ifstream file(igateIni, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    for (const auto& station : demoStationsLeft(text)) {
        qCWarning(lcSettings,
                  "%s still lists the demo's sample station \"%s=ALL\", whose Internet traffic the gateway to radio "
                  "would pass; delete that line",
                  igateIni.c_str(), station.c_str());
    }
}

}  // namespace

std::variant<std::unique_ptr<StandinHost>, std::string> createStandinHost(const StandinStartup& startup) {
    static const SystemClock systemClock;

    HostSettings settings(startup.settingsFile);
    if (const auto error = settings.load())
        return "Host settings " + settings.path().string() + " cannot be read: " + error->reason;
    if (!settings.exists()) {
        // A file named on purpose that is not there is a typing mistake, not a fresh machine.
        if (!startup.firstStartWhenMissing) return "Host settings " + settings.path().string() + " does not exist";
        if (auto error = setUpFirstStart(settings, startup.firstStartFolder)) return std::move(*error);
    }
    for (const auto& warning : settingsFileWarnings(settings)) qCWarning(lcSettings, "%s", warning.c_str());
    if (!settings.hasSection()) return missingSectionError(settings);
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
    const aprs::AprsIsLogin login{host.callsign, host.passcode,
                            host.filter.empty() ? aprs::aprsIsRangeFilter(host.home.latitude, host.home.longitude, rangeKilometres)
                                                : host.filter};
    StandinHost* target = standin.get();
    const aprs::FeedContext context{[target](aprs::FeedOrigin origin) { return target->packetSink(origin); },
                              host.home,
                              host.replaySpeed,
                              login,
                              startup.makeTimer};
    // Gated frames go out through the first feed that reaches a TNC, and what a
    // TNC hears goes to the APRS-IS server (there is one at most).
    aprs::KissTransmitter* transmitter = nullptr;
    aprs::AprsIsUplink* uplink = nullptr;
    for (const auto& entry : host.feeds) {
        auto feed = aprs::makeFeed(entry, context);
        if (auto* allowed = std::get_if<std::string>(&feed)) return gateway::settingError(settings, kFeedsKey, entry, *allowed);
        auto& made = std::get<std::unique_ptr<aprs::Feed>>(feed);
        if (!transmitter) transmitter = made->transmitter();
        if (!uplink) uplink = made->uplink();
        standin->addFeed(std::move(made));
    }
    const auto igateIni =
        host.programFolder.empty() ? std::filesystem::path() : hostFolderFile(host.programFolder, kIgateFileName);
    if (!igateIni.empty() && std::find(host.feeds.begin(), host.feeds.end(), "demo") == host.feeds.end())
        warnOfDemoStationsLeft(igateIni);
    standin->setIdentity({host.callsign, host.home, host.distanceUnit, settings.path(), host.programFolder, igateIni,
                          host.gate.mode, host.gate.toInternet && uplink, host.statusPage});
    if (host.gate.mode != gateway::GateMode::Off) {
        // The server sends an iGate the messages for the stations it uploaded from radio.
        if (host.gate.messages && !host.gate.toInternet && aprs::hasFeed(host.feeds, "aprs-is"))
            qCWarning(lcSettings,
                      "Host settings %s: \"%s\" is on but \"%s\" is off, so APRS-IS sends this iGate no "
                      "messages for stations heard on radio; set %s=on, or %s=off",
                      settings.path().c_str(), std::string(gateway::kGateMessagesKey).c_str(),
                      std::string(gateway::kGateToInternetKey).c_str(), std::string(gateway::kGateToInternetKey).c_str(),
                      std::string(gateway::kGateMessagesKey).c_str());
        auto gate = std::make_unique<gateway::InternetToRfGate>(host.gate, igateIni, clock, startup.makeTimer(),
                                                                startup.makeTimer());
        gate->setTransmitter(transmitter);
        gate->setUplink(uplink);
        standin->setGate(std::move(gate));
    }
    if (host.gate.toInternet && uplink) {
        const aprs::IgateKind kind = host.gate.mode == gateway::GateMode::On ? aprs::IgateKind::TwoWay : aprs::IgateKind::ReceiveOnly;
        standin->setInternetGate(std::make_unique<gateway::RadioToInternetGate>(host.callsign, host.passcode, kind, *uplink, clock));
    }
    if (auto beacon = makeBeaconSender(settings, host, uplink, transmitter, startup.makeTimer())) {
        standin->setBeacon(std::move(beacon));
    }
    if (host.gate.telemetry && host.passcode == aprs::kReceiveOnlyPasscode) {
        qCWarning(lcSettings, "Host settings %s: \"%s\" is on but \"%s\" is -1 (receive only), so no telemetry is sent",
                  settings.path().c_str(), std::string(gateway::kTelemetryKey).c_str(), std::string(kPasscodeKey).c_str());
    } else if (host.gate.telemetry && uplink) {
        standin->setTelemetry(std::make_unique<gateway::TelemetrySender>(
            host.callsign, *uplink, clock, [target] { return target->igateTraffic(); }, startup.makeTimer()));
    }
    return standin;
}

}  // namespace ovelsk::standin
