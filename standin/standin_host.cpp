#include "standin/standin_host.h"

#include <cmath>

#include "feeds/log_text.h"
#include "standin/host_config.h"
#include "standin/standin_log.h"

namespace ovelsk::standin {

// A feed's channel number is the source number the host reports.
static_assert(aprs::kInternetChannel == kInternetStreamSource);

StandinHost::StandinHost(aprs::Position home, DistanceUnit unit, const Clock& clock)
    : home_(home),
      unit_(unit),
      clock_(clock),
      internetList_(kMaxStationListLines, stationListHeader()),
      decisions_(gateway::reportedGateOutcomes(), gateway::internetGateOutcomes()) {}

// The counts of the whole run, unless nothing was received.
StandinHost::~StandinHost() {
    if (nextSummary_) qCInfo(lcDecode, "%s", tally_.summary().c_str());
}

void StandinHost::addFeed(std::unique_ptr<aprs::Feed> feed) {
    feeds_.push_back(std::move(feed));
    if (feedsStarted_) feeds_.back()->start();
}

void StandinHost::setGate(std::unique_ptr<gateway::InternetToRfGate> gate) {
    gate_ = std::move(gate);
    gate_->setDecisionReport([this](std::string_view outcome, const std::string& text) {
        decisions_.record(clock_.now(), gateway::GateDirection::ToRadio, outcome, text);
        if (outcome != gateway::gateOutcomeLabel(gateway::GateOutcome::QueryAnswered)) return;
        auto& answers = networkReports_.queryAnswers;
        if (answers.size() == kKeptQueryAnswers) answers.pop_front();
        answers.push_back(decisions_.recent().back());
    });
}

void StandinHost::setInternetGate(std::unique_ptr<gateway::RadioToInternetGate> gate) {
    internetGate_ = std::move(gate);
    internetGate_->setDecisionReport([this](std::string_view outcome, const std::string& text) {
        decisions_.record(clock_.now(), gateway::GateDirection::ToInternet, outcome, text);
    });
}

std::vector<aprs::FeedStatus> StandinHost::feedStatuses() const {
    std::vector<aprs::FeedStatus> statuses;
    statuses.reserve(feeds_.size());
    for (const auto& feed : feeds_) statuses.push_back(feed->status());
    return statuses;
}

void StandinHost::setBeacon(std::unique_ptr<gateway::BeaconSender> beacon) { beacon_ = std::move(beacon); }

void StandinHost::setTelemetry(std::unique_ptr<gateway::TelemetrySender> telemetry) {
    telemetry_ = std::move(telemetry);
    telemetry_->setReportSent([this](const std::string& line) {
        networkReports_.telemetryTime = clock_.now();
        networkReports_.telemetry = line;
    });
}

gateway::IgateTraffic StandinHost::igateTraffic() const {
    gateway::IgateTraffic traffic;
    traffic.heardOnRadio = heardOnRadio_;
    for (const auto& count : decisions_.counts(gateway::GateDirection::ToInternet)) {
        if (count.outcome == gateway::kSentToInternet) traffic.gatedToInternet = count.count;
    }
    if (gate_) {
        traffic.gatedToRadio = gate_->framesSent();
        traffic.messagesToRadio = gate_->messagesSent();
        traffic.localStations = gate_->localStations();
    }
    return traffic;
}

aprs::PacketSink StandinHost::packetSink(aprs::FeedOrigin origin) {
    return [this, origin](std::int16_t sourceNumber, std::string_view packet) {
        receivePacket(sourceNumber, packet, origin);
    };
}


void StandinHost::bindNotifyBeaconData(NotifyBeaconData handler) { notifyBeaconData_ = std::move(handler); }

void StandinHost::enable(bool& on) {
    enabled_ = on;
    if (!on || feedsStarted_) return;
    feedsStarted_ = true;
    if (beacon_) beacon_->start();
    if (telemetry_) telemetry_->start();
    for (auto& feed : feeds_) feed->start();
}

void StandinHost::receivePacket(std::int16_t sourceNumber, std::string_view packet, aprs::FeedOrigin origin) {
    if (!enabled_) return;
    const DateTime now = clock_.now();
    logSummaryHourly(now);
    if (origin == aprs::FeedOrigin::Radio) ++heardOnRadio_;
    if (internetGate_ && origin == aprs::FeedOrigin::Radio) internetGate_->heardOnRadio(packet);
    if (gate_ && origin == aprs::FeedOrigin::Radio) {
        gate_->heardOnRadio(packet);
    } else if (gate_ && sourceNumber == kInternetStreamSource) {
        gate_->judgeInternetPacket(packet, origin == aprs::FeedOrigin::Recorded);
    }
    const aprs::DecodeResult decoded = aprs::decodePacket(packet);
    if (!decoded.packet) {
        tally_.countDropped(decoded.dropReason);
        qCDebug(lcDecode, "dropped (%s): %s", std::string(aprs::dropReasonLabel(decoded.dropReason)).c_str(),
                aprs::valueForLog(packet).c_str());
        return;
    }
    const aprs::DecodedPacket& beacon = *decoded.packet;
    const DistanceAndBearing fromHome = distanceAndBearingFromHome(home_, beacon.position, unit_);

    StationList& list = sourceNumber == kInternetStreamSource ? internetList_ : radioList_;
    list.update({beacon.callsign, beacon.viaDigipeater, lastHeardText(now), fromHome.distance,
                 distanceUnitText(unit_), fromHome.bearing});

    tally_.countDecoded();
    if (notifyBeaconData_) {
        notifyBeaconData_(StationObject{beacon.callsign, sourceNumber, beacon.path,
                                        static_cast<float>(fromHome.distance)});
        if (gate_) gate_->list().fileMayHaveChanged();
    }
}

// Formatting the local time is the costliest step of a list update; within one
// second every station shows the same text.
std::string_view StandinHost::lastHeardText(DateTime now) {
    const long long second = std::llround(now * 86400.0);
    if (second != lastHeardSecond_) {
        lastHeardSecond_ = second;
        lastHeardText_ = formatLocalDateTime(clock_.shownTime(now));
    }
    return lastHeardText_;
}

// An hour after the first packet, then every hour while packets come.
void StandinHost::logSummaryHourly(DateTime now) {
    constexpr DateTime kHour = 1.0 / 24;
    if (!nextSummary_) {
        nextSummary_ = now + kHour;
    } else if (now >= *nextSummary_) {
        qCInfo(lcDecode, "%s", tally_.summary().c_str());
        nextSummary_ = now + kHour;
    }
}

std::int16_t StandinHost::stationListCount() { return static_cast<std::int16_t>(radioList_.lines().size()); }

std::string_view StandinHost::stationListLine(std::int16_t index) {
    const auto lines = radioList_.lines();
    if (index < 0 || static_cast<std::size_t>(index) >= lines.size()) return {};
    return lines[static_cast<std::size_t>(index)];
}

std::span<const std::string> StandinHost::secondStationList() { return internetList_.lines(); }

HostApplication::StationLineSearch StandinHost::findStationLine(std::string_view callsign) {
    if (!radioList_.indexExact() || !internetList_.indexExact()) return {};
    if (const auto line = radioList_.find(callsign)) return {true, line};
    return {true, internetList_.find(callsign)};
}

}  // namespace ovelsk::standin
