// A gate's log in a flood: ten lines of a kind a minute, then one line that
// counts the rest, on the gate's clock.
#include "gateway/decision_log.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "gateway/gateway_log.h"
#include "support/log_capture.h"

namespace ovelsk::gateway {
namespace {

using ::testing::ElementsAre;

TEST(DecisionLog, PastTenLinesOfAKindInAMinuteCountsTheRestAndSumsThemUpWhenTheMinuteIsOver) {
    testing::LogCapture capture;
    DecisionLog log(lcGate, "gate");
    // The lines logged from the `from`th on.
    const auto lines = [&](std::size_t from = 0) {
        std::vector<std::string> all;
        for (std::size_t i = from; i < capture.messages().size(); ++i) all.push_back(capture.messages()[i].text);
        return all;
    };
    for (int i = 0; i < 5000; ++i) log.write(i, "not sent: rate limit 6/20", "not sent K0ABC-" + std::to_string(i));
    log.write(5000, "sent", "sent W1AW>APRS", QtWarningMsg);  // another kind has its own ten
    log.write(59'999, "not sent: rate limit 6/20", "not sent still counted");
    EXPECT_EQ(lines().size(), 11u);
    EXPECT_EQ(lines()[9], "gate: not sent K0ABC-9");

    log.flush(60'000);  // the flood stopped: the next packet sums it up
    log.flush(60'001);
    EXPECT_THAT(lines(10), ElementsAre("gate: sent W1AW>APRS", "gate: 4,991 more not sent: rate limit 6/20"));
    log.write(60'002, "not sent: rate limit 6/20", "not sent a new minute");
    EXPECT_EQ(lines().back(), "gate: not sent a new minute");
    EXPECT_EQ(capture.messages()[10].type, QtWarningMsg);

    // A clock set back ends the minute too.
    for (int i = 0; i < 11; ++i) log.write(60'003, "not sent: duplicate", "not sent dup");
    const std::size_t before = capture.messages().size();
    log.write(1000, "sent", "sent after a step back");
    EXPECT_THAT(lines(before), ElementsAre("gate: 1 more not sent: duplicate", "gate: sent after a step back"));
}

TEST(DecisionLog, CountsGetThousandsSeparators) {
    const std::pair<std::uint64_t, const char*> cases[] = {
        {0, "0"}, {999, "999"}, {1000, "1,000"}, {4982, "4,982"}, {123456, "123,456"}, {1234567, "1,234,567"}};
    for (const auto& [n, text] : cases) EXPECT_EQ(withThousandsSeparators(n), text);
}

}  // namespace
}  // namespace ovelsk::gateway
