#include "gateway/gate_decisions.h"

#include <algorithm>

namespace ovelsk::gateway {

std::string_view gateDirectionLabel(GateDirection direction) {
    return direction == GateDirection::ToRadio ? "to radio" : "to the Internet";
}

GateDecisions::GateDecisions(std::span<const std::string_view> toRadio, std::span<const std::string_view> toInternet) {
    for (const auto outcome : toRadio) counts_[0].push_back({outcome, 0});
    for (const auto outcome : toInternet) counts_[1].push_back({outcome, 0});
}

void GateDecisions::record(DateTime time, GateDirection direction, std::string_view outcome, std::string text) {
    auto& counts = counts_[static_cast<std::size_t>(direction)];
    auto found = std::find_if(counts.begin(), counts.end(), [outcome](const OutcomeCount& c) { return c.outcome == outcome; });
    if (found == counts.end()) found = counts.insert(counts.end(), {outcome, 0});
    ++found->count;
    if (recent_.size() == kKeptGateDecisions) recent_.pop_front();
    recent_.push_back({time, direction, outcome, std::move(text)});
}

}  // namespace ovelsk::gateway
