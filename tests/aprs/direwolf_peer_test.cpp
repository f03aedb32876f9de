#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "aprs/kiss_feed.h"
#include "aprs_is_loopback_server.h"
#include "direwolf_peer.h"

namespace ovelsk::aprs {
namespace {

using ::testing::UnorderedElementsAreArray;
using testing::Delivery;
using testing::DirewolfPeer;

// One of each kind a radio station hears: direct, digipeated, Mic-E,
// compressed, and an Internet packet gated to radio as a third-party frame.
const std::vector<std::string> kRadioPackets = {
    "N0CALL-9>APRS,WIDE1-1,WIDE2-1:!4903.50N/07201.75W-direct",
    "N0CALL-7>APRS,N1DIGI*,WIDE2-1:!4905.50N/07203.75W>digipeated",
    "N0CALL>TYPS5P,WIDE1-1:`dYgoZO>/Mic-E",
    "N0CALL-5>APRS:=/5L!!<*e7>7P[compressed",
    "N1GATE>APRS,WIDE2-1:}W1ABC-5>APRS,TCPIP,N1GATE*:!4907.50N/07205.75W-third party",
};

class DirewolfPeerTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string reason = DirewolfPeer::unavailableReason(); !reason.empty()) {
            GTEST_SKIP() << "Skipping the real-TNC test: " << reason;
        }
        testing::ensureEventLoop();
    }
};

TEST_F(DirewolfPeerTest, KissFeedReadsWhatDirewolfHearsAsTnc2Text) {
    DirewolfPeer peer;
    ASSERT_TRUE(peer.start(kRadioPackets)) << peer.error();
    std::vector<Delivery> delivered;
    KissFeed feed(FeedAddress{"127.0.0.1", peer.port()},
                  [&](std::int16_t source, std::string_view packet) { delivered.push_back({source, std::string(packet)}); });
    feed.start();
    ASSERT_TRUE(testing::spinUntil([&] { return delivered.size() >= kRadioPackets.size(); }, std::chrono::seconds(60)))
        << "received " << delivered.size() << " of " << kRadioPackets.size() << "\n" << peer.output();
    std::vector<Delivery> expected;
    for (const auto& packet : kRadioPackets) {
        expected.push_back({0, packet});
    }
    EXPECT_THAT(delivered, UnorderedElementsAreArray(expected));
}

}  // namespace
}  // namespace ovelsk::aprs
