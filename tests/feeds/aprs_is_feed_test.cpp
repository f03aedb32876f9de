#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "feeds/aprs_is_feed.h"
#include "aprs_is_loopback_server.h"

namespace ovelsk::aprs {
namespace {

using namespace std::string_literals;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::Delivery;

constexpr std::string_view kLogin = "user N0CALL-10 pass 12345 vers Ovelsk 1.0.0 filter r/51.5000/-0.1000/65\r\n";

class AprsIsFeedTest : public testing::FeedTest {
protected:
    AprsIsFeedTest() {
        feed = std::make_unique<AprsIsFeed>(FeedAddress{"127.0.0.1", server.port()},
                                            AprsIsLogin{"N0CALL-10", 12345, "r/51.5000/-0.1000/65"},
                                            recordDeliveries(), timers.take());
    }

    // Starts the feed and waits until the server has its login.
    void connect() {
        feed->start();
        ASSERT_TRUE(server.waitForClients(1));
        ASSERT_TRUE(server.waitForReceived(0, "\r\n"));
    }

    std::unique_ptr<AprsIsFeed> feed;
};

TEST(AprsIsLogin, WritesTheLoginLineAndTheRangeFilter) {
    EXPECT_EQ(aprsIsLoginLine({"N0CALL-10", 12345, aprsIsRangeFilter(51.5, -0.1, 40 * 1.609344)}), kLogin);
    EXPECT_EQ(aprsIsLoginLine({"N0CALL", kReceiveOnlyPasscode, "r/-33.8688/151.2093/50 t/p"}),
              "user N0CALL pass -1 vers Ovelsk 1.0.0 filter r/-33.8688/151.2093/50 t/p\r\n");
    EXPECT_EQ(aprsIsRangeFilter(0, 0, 40.0), "r/0.0000/0.0000/40");  // whole kilometres stay as they are
    EXPECT_EQ(aprsIsRangeFilter(0, 0, 40.01), "r/0.0000/0.0000/41");
}

TEST(AprsIsLogin, AcceptsOnlyCallsignsAndFiltersThatCannotBreakTheLoginLine) {
    EXPECT_TRUE(isValidAprsIsCallsign("N0CALL-10"));
    EXPECT_FALSE(isValidAprsIsCallsign(""));
    EXPECT_FALSE(isValidAprsIsCallsign("N0CALL-100"));
    EXPECT_FALSE(isValidAprsIsCallsign("N0CALL pass"));
    EXPECT_TRUE(isValidAprsIsFilter("r/51.5/-0.1/65 t/poimqstunw"));
    EXPECT_FALSE(isValidAprsIsFilter("r/51.5/-0.1/65\r\nuser X"));
}

TEST(AprsIsLogin, TellsAVerifiedLoginFromAnUnverifiedOne) {
    struct Case {
        std::string_view line;
        bool verified;
    };
    for (const auto& [line, verified] : std::vector<Case>{
             {"# logresp N0CALL-10 verified, server T2TEST", true},
             {"# logresp N0CALL-10 verified", true},
             {"# logresp n0call-10 verified, server T2TEST", true},  // the server may write it as it was typed
             {"# logresp N0CALL-10 unverified, server T2TEST", false},
             {"# logresp verified", false},
             {"# aprsc 2.1.19 verified", false},
             {"# logresp M9XYZ verified, server T2TEST", false},  // another login's answer
             {"# logresp N0CALL-1 verified, server T2TEST", false},
         }) {
        EXPECT_EQ(isVerifiedLogresp(line, "N0CALL-10"), verified) << line;
    }
}

TEST_F(AprsIsFeedTest, SendsLinesOnlyOnAConnectionAndKnowsWhetherItsLoginWasVerified) {
    EXPECT_FALSE(feed->sendPacketLine("N0CALL-9>APRS,qAR,N0CALL-10:>before"));
    connect();
    EXPECT_FALSE(feed->loginVerified());
    server.send(0, "# logresp N0CALL-10 verified, server T2TEST\r\n");
    ASSERT_TRUE(testing::spinUntil([&] { return feed->loginVerified(); }));
    // Every byte of a packet goes as it is, NUL included.
    const std::string heard = "N0CALL-9>APRS,WIDE1-1*,qAR,N0CALL-10:>heard\0\xC3"s;
    EXPECT_TRUE(feed->sendPacketLine(heard));
    EXPECT_FALSE(feed->sendPacketLine("N0CALL-9>APRS,qAR,N0CALL-10:>two\r\nuser X pass 1"));
    ASSERT_TRUE(server.waitForReceived(0, "\xC3\r\n"));
    EXPECT_EQ(server.client(0).received, std::string(kLogin) + heard + "\r\n");

    server.close(0);
    ASSERT_TRUE(testing::spinUntil([&] { return timers.retry->active(); }));
    EXPECT_FALSE(feed->loginVerified());
    EXPECT_FALSE(feed->sendPacketLine("N0CALL-9>APRS,qAR,N0CALL-10:>while away"));
    timers.retry->fire();
    ASSERT_TRUE(server.waitForClients(2));
    ASSERT_TRUE(server.waitForReceived(1, "\r\n"));
    server.send(1, "# logresp N0CALL-10 unverified, server T2TEST\r\n");
    ASSERT_TRUE(testing::spinUntil([&] { return log().back().ends_with("unverified, server T2TEST"); }));
    EXPECT_FALSE(feed->loginVerified());
    EXPECT_EQ(server.client(1).received, kLogin) << "nothing kept from while the server was away";
}

// A server that is not reading (the event loop does not run here, so this one
// cannot) leaves lines waiting; past the link's limit a line is refused for a
// full queue, not for a missing connection.
TEST_F(AprsIsFeedTest, ALineRefusedWhileConnectedIsRefusedForAFullQueue) {
    EXPECT_FALSE(feed->sendPacketLine("N0CALL-9>APRS,qAR,N0CALL-10:>before"));
    EXPECT_EQ(feed->whyNotTaken(), UplinkRefusal::NotConnected);
    connect();
    const std::string line = "N0CALL-9>APRS,qAR,N0CALL-10:>" + std::string(100, 'x');
    int taken = 0;
    while (taken < 100'000 && feed->sendPacketLine(line)) ++taken;
    EXPECT_LT(taken, 100'000);
    EXPECT_EQ(feed->whyNotTaken(), UplinkRefusal::QueueFull);
}

TEST_F(AprsIsFeedTest, LogsInAndPassesPacketLinesAsInternetBeacons) {
    connect();
    EXPECT_EQ(server.client(0).received, kLogin);
    server.send(0, "# aprsc 2.1.19\r\n# logresp N0CALL-10 verified, server T2TEST\r\n");
    server.send(0, "N0CALL-9>APRS,TCPIP*,qAC,T2TEST:!4903.50N/07201.75W-Test \r\nW1AW>APRS:>lf only\n");
    server.send(0, "# aprsc 2.1.19 8 Dec 2026 10:00:20 GMT T2TEST\r\n# logresp again\r\n");
    server.send(0, "K1ABC>APRS:>last\r\n");
    ASSERT_TRUE(waitForDeliveries(3));
    EXPECT_THAT(delivered, ElementsAre(Delivery{100, "N0CALL-9>APRS,TCPIP*,qAC,T2TEST:!4903.50N/07201.75W-Test "},
                                       Delivery{100, "W1AW>APRS:>lf only"}, Delivery{100, "K1ABC>APRS:>last"}));
    EXPECT_THAT(log(), ElementsAre(HasSubstr("connected to 127.0.0.1"),
                                 "aprs-is:127.0.0.1:" + std::to_string(server.port()) +
                                     ": # logresp N0CALL-10 verified, server T2TEST"));
}

TEST_F(AprsIsFeedTest, LogsWhatTheServerSaysEscapedAndCut) {
    connect();
    const std::string_view start = "# logresp N0CALL-10 verified\x1b[2J\x1b[1A\rfake line\xC3\xA9";
    server.send(0, std::string(start) + std::string(300, 'x') + "\r\nN0CALL>APRS:>sync\r\n");
    ASSERT_TRUE(waitForDeliveries(1));
    const std::string shown = "# logresp N0CALL-10 verified\\x1B[2J\\x1B[1A\\x0Dfake line\\xC3\\xA9" +
                              std::string(200 - start.size(), 'x') + "...";
    EXPECT_EQ(log().back(), "aprs-is:127.0.0.1:" + std::to_string(server.port()) + ": " + shown);
}

TEST_F(AprsIsFeedTest, JoinsSplitLinesKeepsTheirBytesAndDropsOverLongOnes) {
    connect();
    const std::string longest = "W1AW>APRS:>" + std::string(kAprsIsMaxLineBytes - 11, 'y');
    server.send(0, "N0CALL>APRS:!4903.");
    server.send(0, "50N/07201.75W-\r");
    server.send(0, "\n\r\n" + std::string(600, 'x') + "\r\n");
    server.send(0, longest + "\r");  // exactly at the cap, cut between CR and LF
    server.send(0, "\nK1ABC>APRS:>\xC0\xFF inner\rCR\r\r\n");
    server.send(0, std::string(300, 'z'));
    server.send(0, std::string(300, 'z') + "\nW1AW>APRS:>after\n");
    ASSERT_TRUE(waitForDeliveries(4));
    EXPECT_THAT(delivered, ElementsAre(Delivery{100, "N0CALL>APRS:!4903.50N/07201.75W-"}, Delivery{100, longest},
                                       Delivery{100, "K1ABC>APRS:>\xC0\xFF inner\rCR\r"},
                                       Delivery{100, "W1AW>APRS:>after"}));
}

TEST_F(AprsIsFeedTest, ReconnectsAfterTheServerClosesWithoutLosingOrRepeatingPackets) {
    connect();
    server.send(0, "N0CALL>APRS:>before\r\nW1AW>APRS:>unfinis");
    server.close(0);
    ASSERT_TRUE(testing::spinUntil([&] { return timers.retry->active(); }));
    EXPECT_EQ(timers.retry->delay(), std::chrono::seconds(1));
    EXPECT_FALSE(timers.silence->active());
    EXPECT_THAT(log().back(), HasSubstr("lost"));
    EXPECT_THAT(log().back(), HasSubstr("next attempt in 1 s"));

    timers.retry->fire();
    ASSERT_TRUE(server.waitForClients(2));
    ASSERT_TRUE(server.waitForReceived(1, "\r\n"));
    EXPECT_EQ(server.client(1).received, kLogin);
    server.send(1, "hed\r\nK1ABC>APRS:>after\r\n");
    ASSERT_TRUE(waitForDeliveries(2));
    // The unfinished line died with the first connection: its tail, arriving on
    // the second, is a line of its own and never joined to its head.
    EXPECT_THAT(delivered, ElementsAre(Delivery{100, "N0CALL>APRS:>before"}, Delivery{100, "hed"},
                                       Delivery{100, "K1ABC>APRS:>after"}));
}

TEST_F(AprsIsFeedTest, DropsASilentConnectionButServerCommentsCountAsTraffic) {
    connect();
    EXPECT_TRUE(timers.silence->active());
    EXPECT_EQ(timers.silence->delay(), std::chrono::seconds(120));
    const int startsBefore = timers.silence->starts();
    server.send(0, "# keep-alive\r\n");
    ASSERT_TRUE(testing::spinUntil([&] { return timers.silence->starts() > startsBefore; }));

    timers.silence->fire();
    ASSERT_TRUE(server.waitForClosed(0));
    EXPECT_TRUE(timers.retry->active());
    EXPECT_THAT(log().back(), HasSubstr("no whole line or frame received for 120 s"));
    timers.retry->fire();
    ASSERT_TRUE(server.waitForClients(2));
}

TEST_F(AprsIsFeedTest, OnlyWholeLinesKeepTheConnectionFromCountingAsSilent) {
    connect();
    const int startsAtConnect = timers.silence->starts();
    server.send(0, "# a byte now and then");
    EXPECT_FALSE(testing::spinUntil([&] { return timers.silence->starts() > startsAtConnect; },
                                    std::chrono::milliseconds(300)));
    server.send(0, "\r\n");
    EXPECT_TRUE(testing::spinUntil([&] { return timers.silence->starts() > startsAtConnect; }));
}

TEST_F(AprsIsFeedTest, AServerThatGreetsAndHangsUpKeepsTheWaitGrowingUntilAConnectionLastsAMinute) {
    feed->start();
    std::vector<long> delays;
    for (int attempt = 1; attempt <= 4; ++attempt) {
        ASSERT_TRUE(server.waitForClients(attempt));
        ASSERT_TRUE(server.waitForReceived(attempt - 1, "\r\n"));
        EXPECT_TRUE(timers.settled->active());
        EXPECT_EQ(timers.settled->delay(), std::chrono::seconds(60));
        if (attempt == 4) timers.settled->fire();  // up for a minute
        server.send(attempt - 1, "# aprsc 2.1.19\r\n");
        server.close(attempt - 1);
        ASSERT_TRUE(testing::spinUntil([&] { return timers.retry->active(); }));
        EXPECT_FALSE(timers.settled->active());
        delays.push_back(static_cast<long>(std::chrono::duration_cast<std::chrono::seconds>(timers.retry->delay()).count()));
        timers.retry->fire();
    }
    EXPECT_THAT(delays, ElementsAre(1, 2, 4, 1));
}

TEST_F(AprsIsFeedTest, BacksOffWhileRefusedAndStartsOverOnceDataFlows) {
    const quint16 port = server.port();
    server.stopListening();
    feed->start();
    std::vector<long> delays;
    for (int attempt = 0; attempt < 8; ++attempt) {
        ASSERT_TRUE(testing::spinUntil([&] { return timers.retry->active(); }));
        delays.push_back(static_cast<long>(std::chrono::duration_cast<std::chrono::seconds>(timers.retry->delay()).count()));
        if (attempt < 7) {
            timers.retry->fire();
        }
    }
    EXPECT_THAT(delays, ElementsAre(1, 2, 4, 8, 16, 32, 60, 60));
    EXPECT_THAT(log().back(), HasSubstr("cannot connect to 127.0.0.1:" + std::to_string(port)));

    ASSERT_TRUE(server.listen(port));
    timers.retry->fire();
    ASSERT_TRUE(server.waitForClients(1));
    // A server that accepts and closes again without a word does not count as
    // having recovered...
    server.close(0);
    ASSERT_TRUE(testing::spinUntil([&] { return timers.retry->active(); }));
    EXPECT_EQ(timers.retry->delay(), std::chrono::seconds(60));
    timers.retry->fire();
    ASSERT_TRUE(server.waitForClients(2));
    // ...one that sends something does.
    server.send(1, "# aprsc\r\nN0CALL>APRS:>hello\r\n");
    ASSERT_TRUE(waitForDeliveries(1));
    server.close(1);
    ASSERT_TRUE(testing::spinUntil([&] { return timers.retry->active(); }));
    EXPECT_EQ(timers.retry->delay(), std::chrono::seconds(1));
}

TEST_F(AprsIsFeedTest, TellsWhereItStandsForAStatusView) {
    EXPECT_EQ(feed->status().state, FeedState::Idle);
    connect();
    server.send(0, "# logresp N0CALL-10 verified, server T2TEST\r\nK1ABC>APRS:>one\r\n");
    ASSERT_TRUE(waitForDeliveries(1));
    const FeedStatus up = feed->status();
    EXPECT_EQ(up.name, "aprs-is:127.0.0.1:" + std::to_string(server.port()));
    EXPECT_EQ(up.state, FeedState::Connected);
    EXPECT_EQ(up.packets, 1u);
    EXPECT_EQ(up.loginVerified, true);
    EXPECT_EQ(up.lastError, "");

    server.close(0);
    ASSERT_TRUE(testing::spinUntil([&] { return timers.retry->active(); }));
    const FeedStatus down = feed->status();
    EXPECT_EQ(down.state, FeedState::Retrying);
    EXPECT_EQ(down.retryAt - down.since, std::chrono::seconds(1));
    EXPECT_THAT(down.lastError, HasSubstr("connection to 127.0.0.1 port " + std::to_string(server.port()) + " lost: "));
    EXPECT_EQ(down.loginVerified, std::nullopt);
    EXPECT_EQ(down.packets, 1u);
}

}  // namespace
}  // namespace ovelsk::aprs
