// The gate decisions a host keeps: counts since start, only the last 100 lines.
#include "gateway/gate_decisions.h"

#include <gtest/gtest.h>

namespace ovelsk::gateway {
namespace {

TEST(GateDecisions, CountsEveryDecisionAndKeepsTheLastHundred) {
    constexpr std::string_view kToRadio[] = {"duplicate", "sent"};
    GateDecisions decisions(kToRadio, {});
    for (int i = 0; i < 150; ++i)
        decisions.record(i, GateDirection::ToRadio, i % 3 ? "sent" : "duplicate", "decision " + std::to_string(i));
    decisions.record(150, GateDirection::ToInternet, "sent", "decision 150");

    ASSERT_EQ(decisions.counts(GateDirection::ToRadio).size(), 2u);
    EXPECT_EQ(decisions.counts(GateDirection::ToRadio)[0].count, 50u);
    EXPECT_EQ(decisions.counts(GateDirection::ToRadio)[1].count, 100u);
    ASSERT_EQ(decisions.counts(GateDirection::ToInternet).size(), 1u);
    EXPECT_EQ(decisions.counts(GateDirection::ToInternet)[0].count, 1u);
    ASSERT_EQ(decisions.recent().size(), kKeptGateDecisions);
    EXPECT_EQ(decisions.recent().front().text, "decision 51");
    EXPECT_EQ(decisions.recent().back().direction, GateDirection::ToInternet);
}

}  // namespace
}  // namespace ovelsk::gateway
