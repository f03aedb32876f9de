#pragma once
// A host report whose contents the test or benchmark sets itself.

#include <vector>

#include "standin/host_report.h"
#include "standin/internet_to_rf_gate.h"
#include "standin/rf_to_internet_gate.h"

namespace ovelsk::testing {

class FakeHostReport final : public aprs::HostReport {
public:
    const aprs::HostIdentity& identity() const override { return hostIdentity; }
    std::vector<aprs::FeedStatus> feedStatuses() const override { return feeds; }
    const aprs::DecodeTally& decodeTally() const override { return tally; }
    const aprs::GateDecisions& gateDecisions() const override { return decisions; }

    aprs::HostIdentity hostIdentity;
    std::vector<aprs::FeedStatus> feeds;
    aprs::DecodeTally tally;
    aprs::GateDecisions decisions{aprs::reportedGateOutcomes(), aprs::internetGateOutcomes()};
};

}  // namespace ovelsk::testing
