// The gateway's memory of recent packets and of its sends, at the edges of its windows.
#include "gateway/gate_history.h"

#include <gtest/gtest.h>

namespace ovelsk::gateway {
namespace {

TEST(RecentPackets, APacketIsRecentForJustUnderTheWindowFromItsLatestSighting) {
    RecentPackets recent(60'000);
    recent.add("K0ABC", "APRS", ">x", 0);
    EXPECT_TRUE(recent.contains("K0ABC", "APRS", ">x", 59'999));
    EXPECT_FALSE(recent.contains("K0ABC", "APRS", ">x", 60'000));

    // Sent at 0, heard on radio at 50 s: the older entry's expiry keeps the newer one.
    recent.add("W1AW", "APRS", ">y", 100'000);
    recent.add("W1AW", "APRS", ">y", 150'000);
    EXPECT_TRUE(recent.contains("W1AW", "APRS", ">y", 161'000));
    EXPECT_TRUE(recent.addedSince("W1AW", "APRS", ">y  \r", 150'000, 161'000)) << "trailing blanks aside";
    EXPECT_FALSE(recent.addedSince("W1AW", "APRS", ">y", 150'001, 161'000));
}

TEST(RecentPackets, BeyondItsCountTheOldestIsForgotten) {
    RecentPackets recent(60'000, 3);
    for (const auto* information : {">1", ">2", ">3", ">4"}) recent.add("K0ABC", "APRS", information, 0);
    EXPECT_FALSE(recent.contains("K0ABC", "APRS", ">1", 0));
    EXPECT_TRUE(recent.contains("K0ABC", "APRS", ">2", 0));
    EXPECT_TRUE(recent.contains("K0ABC", "APRS", ">4", 0));
}

TEST(SendWindow, ASendLeavesTheMinuteAfterExactlySixtySeconds) {
    SendWindow window(1, 5);
    window.add(0);
    EXPECT_FALSE(window.hasRoom(59'999));
    EXPECT_TRUE(window.hasRoom(60'000));
}

}  // namespace
}  // namespace ovelsk::gateway
