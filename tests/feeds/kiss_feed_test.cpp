#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "feeds/kiss_feed.h"
#include "aprs_is_loopback_server.h"
#include "aprs/ax25_test_frames.h"

namespace ovelsk::aprs {
namespace {

using ::testing::ElementsAre;
using testing::ax25Frame;
using testing::Delivery;
using testing::kissEncode;

class KissFeedTest : public testing::FeedTest {
protected:
    KissFeedTest() {
        feed = std::make_unique<KissFeed>(FeedAddress{"127.0.0.1", server.port()}, recordDeliveries(),
                                          timers.take());
        feed->start();
        EXPECT_TRUE(server.waitForClients(1));
    }

    std::unique_ptr<KissFeed> feed;
};

TEST_F(KissFeedTest, DeliversUiFramesAsRadioBeaconsOnTheirTncPort) {
    const std::string position = ax25Frame({"N0CALL", 9}, {"APRS"}, {{"WIDE1", 1, true}}, "!4903.50N/07201.75W-");
    const std::string stream = kissEncode(position, 0) + kissEncode(ax25Frame({"W1AW"}, {"APRS"}, {}, ">two"), 3) +
                               kissEncode(ax25Frame({"K1ABC"}, {"APRS"}, {}, ">fifteen"), 15);
    // Written in pieces that cut frames and escapes anywhere.
    for (std::size_t at = 0; at < stream.size(); at += 7) {
        server.send(0, stream.substr(at, 7));
    }
    ASSERT_TRUE(waitForDeliveries(3));
    EXPECT_THAT(delivered, ElementsAre(Delivery{0, "N0CALL-9>APRS,WIDE1-1*:!4903.50N/07201.75W-"},
                                       Delivery{3, "W1AW>APRS:>two"}, Delivery{15, "K1ABC>APRS:>fifteen"}));
    EXPECT_EQ(server.client(0).received, "");  // nothing is sent to the TNC unasked
}

TEST_F(KissFeedTest, IgnoresCommandFramesNonUiFramesAndNoise) {
    server.send(0, "garbage before the first frame");
    server.send(0, kissEncode("\x20", 0, 1));                                                // TX delay command
    server.send(0, kissEncode(ax25Frame({"N0CALL"}, {"APRS"}, {}, ">x"), 0, 6));             // hardware command
    server.send(0, kissEncode(ax25Frame({"N0CALL"}, {"N1NODE"}, {}, "connect", 0x2F), 1));   // SABM
    server.send(0, kissEncode("not an AX.25 frame", 2));
    server.send(0, std::string("\0noise between frames, after the last frame's end", 49));
    server.send(0, kissEncode(ax25Frame({"W1AW"}, {"APRS"}, {}, ">wanted"), 1));
    ASSERT_TRUE(waitForDeliveries(1));
    EXPECT_THAT(delivered, ElementsAre(Delivery{1, "W1AW>APRS:>wanted"}));
}

TEST_F(KissFeedTest, ForgetsAHalfFrameWhenTheTncGoesAwayAndReconnects) {
    const std::string frame = kissEncode(ax25Frame({"N0CALL"}, {"APRS"}, {}, ">lost with the connection"));
    server.send(0, frame.substr(0, frame.size() / 2));
    server.close(0);
    ASSERT_TRUE(testing::spinUntil([&] { return timers.retry->active(); }));
    EXPECT_EQ(timers.retry->delay(), std::chrono::seconds(1));
    EXPECT_THAT(log(), ElementsAre("kiss:127.0.0.1:" + std::to_string(server.port()) + ": connected to 127.0.0.1 port " +
                                     std::to_string(server.port()),
                                 ::testing::StartsWith("kiss:127.0.0.1:" + std::to_string(server.port()) +
                                                       ": connection to 127.0.0.1 port " + std::to_string(server.port()) +
                                                       " lost: ")));
    timers.retry->fire();
    ASSERT_TRUE(server.waitForClients(2));
    server.send(1, frame.substr(frame.size() / 2) + kissEncode(ax25Frame({"W1AW"}, {"APRS"}, {}, ">after")));
    ASSERT_TRUE(waitForDeliveries(1));
    EXPECT_THAT(delivered, ElementsAre(Delivery{0, "W1AW>APRS:>after"}));
}

// A TNC says nothing while the radio channel is quiet: only the attempt to
// connect is timed, never the connection.
TEST_F(KissFeedTest, AQuietChannelKeepsTheConnection) {
    ASSERT_TRUE(testing::spinUntil([&] { return !log().empty(); }));
    EXPECT_FALSE(timers.silence->active());
    server.send(0, kissEncode(ax25Frame({"W1AW"}, {"APRS"}, {}, ">heard")));
    ASSERT_TRUE(waitForDeliveries(1));
    EXPECT_FALSE(timers.silence->active());
    EXPECT_EQ(server.clientCount(), 1);
}

TEST_F(KissFeedTest, TransmitsOnlyWhileConnectedAndKeepsNothingForLater) {
    KissTransmitter* tnc = feed->transmitter();
    ASSERT_NE(tnc, nullptr);
    EXPECT_EQ(tnc->transmitterName(), "kiss:127.0.0.1:" + std::to_string(server.port()));
    const std::string frame = kissEncode(ax25Frame({"N0TEST"}, {"APZOVL"}, {}, ">on the air"));
    ASSERT_TRUE(testing::spinUntil([&] { return tnc->sendKissFrame(frame); }));
    ASSERT_TRUE(server.waitForReceived(0, frame));
    server.close(0);
    ASSERT_TRUE(testing::spinUntil([&] { return timers.retry->active(); }));
    EXPECT_FALSE(tnc->sendKissFrame(kissEncode(ax25Frame({"N0TEST"}, {"APZOVL"}, {}, ">while away"))));
    EXPECT_EQ(tnc->whyNotTaken(), "is not connected");
    timers.retry->fire();
    ASSERT_TRUE(server.waitForClients(2));
    server.send(1, kissEncode(ax25Frame({"W1AW"}, {"APRS"}, {}, ">back")));
    ASSERT_TRUE(waitForDeliveries(1));
    EXPECT_EQ(server.client(1).received, "") << "what could not be sent is not sent later";
}

}  // namespace
}  // namespace ovelsk::aprs
