#include "gateway/telemetry_sender.h"

#include <algorithm>

#include "aprs/third_party_frame.h"
#include "gateway/gateway_log.h"

namespace ovelsk::gateway {
namespace {

constexpr auto kFirstReport = std::chrono::minutes(1);
constexpr auto kReportInterval = std::chrono::minutes(10);
constexpr std::int64_t kReportIntervalMs = std::chrono::milliseconds(kReportInterval).count();
constexpr std::int64_t kDefinitionsIntervalMs = 2 * 60 * 60'000;
// A connection verified again soon after the definitions went does not send them again.
constexpr std::int64_t kDefinitionsAgainMs = 10 * 60'000;
constexpr std::int64_t kMinuteMs = 60'000;
constexpr std::string_view kInternetPath = "TCPIP*";

double perMinute(std::uint64_t now, std::uint64_t before, double minutes) {
    return static_cast<double>(now - before) / minutes;
}

}  // namespace

TelemetrySender::TelemetrySender(std::string callsign, aprs::AprsIsUplink& uplink, const Clock& clock,
                                 TrafficReading traffic, std::unique_ptr<aprs::FeedTimer> timer)
    : callsign_(std::move(callsign)), uplink_(uplink), clock_(clock), traffic_(std::move(traffic)), timer_(std::move(timer)) {}

void TelemetrySender::start() {
    counted_ = traffic_();
    countedMs_ = nowMs();
    uplink_.addLoginVerifiedHandler([this] { onLoginVerified(); });
}

void TelemetrySender::onLoginVerified() {
    const std::int64_t now = nowMs();
    if (!definedMs_ || now - *definedMs_ >= kDefinitionsAgainMs || now < *definedMs_) sendDefinitions(now);
    // The first report averages over the last 10 minutes at most.
    if (now - countedMs_ > kReportIntervalMs || now < countedMs_) {
        counted_ = traffic_();
        countedMs_ = now;
    }
    timer_->start(kFirstReport, [this] { reportNow(); });
}

void TelemetrySender::reportNow() {
    timer_->start(kReportInterval, [this] { reportNow(); });
    const std::int64_t now = nowMs();
    const IgateTraffic traffic = traffic_();
    // Less than a minute, or a clock set back, counts as one minute.
    const double minutes = std::max(1.0, static_cast<double>(now - countedMs_) / kMinuteMs);
    const aprs::TelemetryValues values = {perMinute(traffic.heardOnRadio, counted_.heardOnRadio, minutes),
                                          perMinute(traffic.gatedToInternet, counted_.gatedToInternet, minutes),
                                          perMinute(traffic.gatedToRadio, counted_.gatedToRadio, minutes),
                                          perMinute(traffic.messagesToRadio, counted_.messagesToRadio, minutes),
                                          static_cast<double>(traffic.localStations)};
    counted_ = traffic;
    countedMs_ = now;
    if (!uplink_.loginVerified()) return;
    const std::string report = aprs::telemetryReport(sequence_, values);
    if (!send(report)) return;
    sequence_ = (sequence_ + 1) % 1000;
    if (reportSent_) reportSent_(report);
    if (!definedMs_ || now - *definedMs_ >= kDefinitionsIntervalMs || now < *definedMs_) sendDefinitions(now);
}

void TelemetrySender::sendDefinitions(std::int64_t now) {
    if (!uplink_.loginVerified()) return;
    for (const auto& definition : aprs::telemetryDefinitions(callsign_)) {
        if (!send(definition)) return;
    }
    definedMs_ = now;
}

bool TelemetrySender::send(const std::string& information) {
    if (!uplink_.sendPacketLine(aprs::thirdPartyFrameText(callsign_, kInternetPath, information))) {
        qCInfo(lcGate, "gate: telemetry not sent to APRS-IS: no connection to the server");
        return false;
    }
    qCInfo(lcGate, "gate: telemetry sent to APRS-IS: %s", information.c_str());
    return true;
}

}  // namespace ovelsk::gateway
