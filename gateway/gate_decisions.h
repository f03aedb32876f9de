#pragma once
// What the two gateways decided since start: a count for each outcome in each
// direction (sent, would send, and every reason not sent), and the last 100
// decisions with their time and the line the gateway logged. The host keeps it;
// the gateways report to it through a callback and know nothing of who reads it.

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/date_time.h"

namespace ovelsk::gateway {

enum class GateDirection { ToRadio, ToInternet };

std::string_view gateDirectionLabel(GateDirection direction);

// How a gateway tells of a decision: the outcome's label from the gateway's own
// table and the line it logged for it.
using GateDecisionReport = std::function<void(std::string_view outcome, const std::string& text)>;

struct GateDecision {
    DateTime time = 0;
    GateDirection direction = GateDirection::ToRadio;
    std::string_view outcome;  // a label from a gateway's table, which outlives the program's run
    std::string text;
};

struct OutcomeCount {
    std::string_view outcome;
    std::uint64_t count = 0;
};

inline constexpr std::size_t kKeptGateDecisions = 100;

class GateDecisions {
public:
    // Every outcome each direction can have, so that those never seen count 0.
    GateDecisions(std::span<const std::string_view> toRadio, std::span<const std::string_view> toInternet);

    void record(DateTime time, GateDirection direction, std::string_view outcome, std::string text);

    const std::vector<OutcomeCount>& counts(GateDirection direction) const {
        return counts_[static_cast<std::size_t>(direction)];
    }
    // Oldest first.
    const std::deque<GateDecision>& recent() const { return recent_; }

private:
    std::array<std::vector<OutcomeCount>, 2> counts_;
    std::deque<GateDecision> recent_;
};

}  // namespace ovelsk::gateway
