#pragma once
// Sends the iGate's traffic to APRS-IS as telemetry (aprs/igate_telemetry.h)
// while the server has verified the login: a report a minute after the login is
// verified and then every 10 minutes, each channel a per-minute average since
// the report before (at most the last 10 minutes); the definitions of the channels after the login is
// verified (unless sent in the last 10 minutes) and every 2 hours. Each line
// sent is one line in ovelsk.gate:
//   gate: telemetry sent to APRS-IS: T#042,012,011,001,000,003,00000000

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "aprs/igate_telemetry.h"
#include "feeds/aprs_is_uplink.h"
#include "feeds/feed_timer.h"
#include "host/date_time.h"

namespace ovelsk::gateway {

// What the iGate did since start, and the stations a message would reach now.
struct IgateTraffic {
    std::uint64_t heardOnRadio = 0;
    std::uint64_t gatedToInternet = 0;
    std::uint64_t gatedToRadio = 0;
    std::uint64_t messagesToRadio = 0;
    std::size_t localStations = 0;
};

class TelemetrySender {
public:
    using TrafficReading = std::function<IgateTraffic()>;

    // Sends as `callsign` through `uplink`; `traffic` is read at start and at each report.
    TelemetrySender(std::string callsign, aprs::AprsIsUplink& uplink, const Clock& clock, TrafficReading traffic,
                    std::unique_ptr<aprs::FeedTimer> timer);
    TelemetrySender(const TelemetrySender&) = delete;
    TelemetrySender& operator=(const TelemetrySender&) = delete;

    // Counts from now and waits for the login to be verified.
    void start();
    // Told of every report line sent.
    void setReportSent(std::function<void(const std::string& line)> told) { reportSent_ = std::move(told); }

private:
    void onLoginVerified();
    void reportNow();
    void sendDefinitions(std::int64_t now);
    bool send(const std::string& information);
    std::int64_t nowMs() const { return wholeMilliseconds(clock_.now()); }

    std::string callsign_;
    aprs::AprsIsUplink& uplink_;
    const Clock& clock_;
    TrafficReading traffic_;
    std::unique_ptr<aprs::FeedTimer> timer_;
    std::function<void(const std::string&)> reportSent_;
    IgateTraffic counted_;  // at the report before
    std::int64_t countedMs_ = 0;
    std::optional<std::int64_t> definedMs_;
    int sequence_ = 0;
};

}  // namespace ovelsk::gateway
