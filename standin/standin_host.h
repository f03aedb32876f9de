#pragma once
// Ovelsk's own host: takes packets from its feeds, decodes them, measures
// distance and bearing from home, keeps the two station lists and raises
// NotifyBeaconData for every packet that reports its sender's position.
//
// Stations heard on radio go to the indexed list, those heard through the
// Internet to the second list, below its header line. A station's line is
// updated before its event is raised, so the handler finds its bearing there.
//
// With a gate, every Internet packet is judged for radio before its event is
// raised, every packet a live TNC heard is remembered for the gate's duplicate
// rule, and after every event the gate looks at igate.ini again, since the
// handler may have rewritten it. With a gate to the Internet, every packet a
// live TNC heard goes there too.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "feeds/feed.h"
#include "gateway/beacon_sender.h"
#include "standin/geodesy.h"
#include "gateway/internet_to_rf_gate.h"
#include "gateway/rf_to_internet_gate.h"
#include "gateway/telemetry_sender.h"
#include "aprs/packet_decoder.h"
#include "standin/decode_tally.h"
#include "standin/host_report.h"
#include "standin/station_list.h"
#include "host/date_time.h"
#include "host/host_application.h"

namespace ovelsk::standin {

class StandinHost final : public HostApplication, public HostReport {
public:
    StandinHost(aprs::Position home, DistanceUnit unit, const Clock& clock);
    ~StandinHost() override;

    // Feeds start when the host is switched on, not before.
    void addFeed(std::unique_ptr<aprs::Feed> feed);
    // The gateway to radio; without one nothing is judged.
    void setGate(std::unique_ptr<gateway::InternetToRfGate> gate);
    // The gateway to the Internet; without one nothing heard is sent there.
    void setInternetGate(std::unique_ptr<gateway::RadioToInternetGate> gate);
    // The iGate's own beacon; it starts with the feeds.
    void setBeacon(std::unique_ptr<gateway::BeaconSender> beacon);
    // The iGate's telemetry; it starts with the feeds.
    void setTelemetry(std::unique_ptr<gateway::TelemetrySender> telemetry);
    // What the iGate did since start, for its telemetry.
    gateway::IgateTraffic igateTraffic() const;
    // Where feeds of this origin deliver their packets.
    aprs::PacketSink packetSink(aprs::FeedOrigin origin = aprs::FeedOrigin::Recorded);
    void receivePacket(std::int16_t sourceNumber, std::string_view packet, aprs::FeedOrigin origin = aprs::FeedOrigin::Recorded);

    std::uint64_t beaconsRaised() const { return tally_.decoded(); }
    std::uint64_t packetsDropped() const { return tally_.dropped(); }
    // What start-up read of the settings, for views of the host.
    void setIdentity(HostIdentity identity) { identity_ = std::move(identity); }

    const HostIdentity& identity() const override { return identity_; }
    std::vector<aprs::FeedStatus> feedStatuses() const override;
    const DecodeTally& decodeTally() const override { return tally_; }
    const gateway::GateDecisions& gateDecisions() const override { return decisions_; }
    gateway::HeardStationsTally heardStations() const override {
        return gate_ ? gate_->heardStations().tally() : gateway::HeardStationsTally{};
    }
    const NetworkReports& networkReports() const override { return networkReports_; }

    void bindNotifyBeaconData(NotifyBeaconData handler) override;
    void enable(bool& on) override;
    std::int16_t stationListCount() override;
    std::string_view stationListLine(std::int16_t index) override;
    std::span<const std::string> secondStationList() override;
    // Answered from the lists' callsign maps while both are exact.
    StationLineSearch findStationLine(std::string_view callsign) override;

private:
    std::string_view lastHeardText(DateTime now);
    void logSummaryHourly(DateTime now);

    aprs::Position home_;
    DistanceUnit unit_;
    const Clock& clock_;
    NotifyBeaconData notifyBeaconData_;
    std::vector<std::unique_ptr<aprs::Feed>> feeds_;
    std::unique_ptr<gateway::InternetToRfGate> gate_;
    std::unique_ptr<gateway::RadioToInternetGate> internetGate_;
    std::unique_ptr<gateway::BeaconSender> beacon_;
    std::unique_ptr<gateway::TelemetrySender> telemetry_;
    bool enabled_ = false;
    bool feedsStarted_ = false;

    StationList radioList_;
    StationList internetList_;

    long long lastHeardSecond_ = -1;
    std::string lastHeardText_;

    DecodeTally tally_;
    gateway::GateDecisions decisions_;
    NetworkReports networkReports_;
    std::uint64_t heardOnRadio_ = 0;  // packets from live TNCs
    HostIdentity identity_;
    std::optional<DateTime> nextSummary_;  // none until the first packet
};

}  // namespace ovelsk::standin
