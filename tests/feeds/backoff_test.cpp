#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "feeds/reconnect_backoff.h"

namespace ovelsk::aprs {
namespace {

using ::testing::ElementsAre;

std::vector<long> nextDelays(ReconnectBackoff& backoff, int count) {
    std::vector<long> delays;
    for (int i = 0; i < count; ++i) {
        delays.push_back(static_cast<long>(backoff.nextDelay().count()));
    }
    return delays;
}

TEST(BackoffReconnect, DoublesFromOneSecondAndStaysAtOneMinute) {
    ReconnectBackoff backoff;
    EXPECT_THAT(nextDelays(backoff, 9), ElementsAre(1, 2, 4, 8, 16, 32, 60, 60, 60));
}

TEST(BackoffReconnect, StartsOverAfterReset) {
    ReconnectBackoff backoff;
    nextDelays(backoff, 4);
    backoff.reset();
    EXPECT_THAT(nextDelays(backoff, 3), ElementsAre(1, 2, 4));
}

}  // namespace
}  // namespace ovelsk::aprs
