#pragma once
// A host report whose contents the test or benchmark sets itself.

#include <vector>

#include "standin/host_report.h"
#include "gateway/internet_to_rf_gate.h"
#include "gateway/rf_to_internet_gate.h"

namespace ovelsk::testing {

class FakeHostReport final : public standin::HostReport {
public:
    const standin::HostIdentity& identity() const override { return hostIdentity; }
    std::vector<aprs::FeedStatus> feedStatuses() const override { return feeds; }
    const standin::DecodeTally& decodeTally() const override { return tally; }
    const gateway::GateDecisions& gateDecisions() const override { return decisions; }
    gateway::HeardStationsTally heardStations() const override { return heard; }
    const standin::NetworkReports& networkReports() const override { return network; }

    standin::HostIdentity hostIdentity;
    std::vector<aprs::FeedStatus> feeds;
    standin::DecodeTally tally;
    gateway::GateDecisions decisions{gateway::reportedGateOutcomes(), gateway::internetGateOutcomes()};
    gateway::HeardStationsTally heard;
    standin::NetworkReports network;
};

}  // namespace ovelsk::testing
