#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "feeds/aprs_is_loopback_server.h"
#include "feeds/aprs_is_feed.h"
#include "gateway/gate_fakes.h"
#include "gateway/rf_to_internet_gate.h"
#include "support/fake_clock.h"

namespace ovelsk::gateway {
namespace {

using ::testing::ElementsAre;

constexpr std::string_view kLogin = "user N0CALL-10 pass 12345 vers Ovelsk 1.0.0 filter r/51.5/-0.1/50\r\n";

class RadioToInternetGateTest : public testing::FeedTest {
protected:
    RadioToInternetGateTest() {
        feed.start();
        EXPECT_TRUE(server.waitForClients(1));
        EXPECT_TRUE(server.waitForReceived(0, "\r\n"));
    }

    void verify() {
        server.send(0, "# logresp N0CALL-10 verified, server T2TEST\r\n");
        ASSERT_TRUE(testing::spinUntil([&] { return feed.loginVerified(); }));
    }

    // What the server received after the login.
    std::string sent() {
        // Whatever the gate wrote is on its way by the time this line arrives.
        feed.sendPacketLine("# end");
        EXPECT_TRUE(server.waitForReceived(0, "# end\r\n"));
        std::string received = server.client(0).received.substr(kLogin.size());
        server.client(0).received = std::string(kLogin);
        return received.substr(0, received.size() - 7);
    }

    // What the gate logged, one message each.
    std::vector<std::string> gateLog() const { return testing::lines(logCapture.text("ovelsk.igate")); }

    testing::FakeClock clock;
    aprs::AprsIsFeed feed{aprs::FeedAddress{"127.0.0.1", server.port()}, aprs::AprsIsLogin{"N0CALL-10", 12345, "r/51.5/-0.1/50"},
                    [](std::int16_t, std::string_view) {}, timers.take()};
};

TEST_F(RadioToInternetGateTest, GatesNothingUntilTheServerVerifiesTheLoginAndSaysSoOnce) {
    RadioToInternetGate gate("N0CALL-10", 12345, aprs::IgateKind::TwoWay, feed, clock);
    gate.heardOnRadio("N0CALL-9>APRS:>one");
    gate.heardOnRadio("N0CALL-9>APRS:>two");
    server.send(0, "# logresp N0CALL-10 unverified, server T2TEST\r\n");
    ASSERT_TRUE(testing::spinUntil([&] { return logCapture.text().find("unverified") != std::string::npos; }));
    gate.heardOnRadio("N0CALL-9>APRS:>three");
    EXPECT_EQ(sent(), "");
    EXPECT_THAT(gateLog(),
                ElementsAre("igate: radio packets are not gated to the Internet: the APRS-IS server (aprs-is:127.0.0.1:" +
                            std::to_string(server.port()) + ") has not verified the login of N0CALL-10 (not connected yet, or Passcode not right)"));

    // Said at start-up, before anything is heard, and only then.
    RadioToInternetGate receiveOnly("N0CALL-10", -1, aprs::IgateKind::TwoWay, feed, clock);
    EXPECT_EQ(gateLog().back(),
              "igate: radio packets are not gated to the Internet: Passcode is -1 (receive only)");
    receiveOnly.heardOnRadio("N0CALL-9>APRS:>four");
    receiveOnly.heardOnRadio("N0CALL-9>APRS:>five");
    EXPECT_EQ(gateLog().size(), 2u);
}

TEST_F(RadioToInternetGateTest, SendsEveryCopyHeardAndLogsEveryDecision) {
    verify();
    RadioToInternetGate gate("N0CALL-10", 12345, aprs::IgateKind::TwoWay, feed, clock);
    gate.heardOnRadio("N0CALL-9>APRS,WIDE1-1,WIDE2-2:!4903.50N/07201.75W-");
    gate.heardOnRadio("N0CALL-9>APRS,N1DIGI*,WIDE2-1:!4903.50N/07201.75W-");              // digipeated copy
    gate.heardOnRadio("N1GATE>APRS:}N0CALL-9>APRS,WIDE1-1*:!4903.50N/07201.75W-");        // the same inside
    gate.heardOnRadio("N0CALL-9>APRS,NOGATE:>\x1c x");
    EXPECT_EQ(sent(), "N0CALL-9>APRS,WIDE1-1,WIDE2-2,qAR,N0CALL-10:!4903.50N/07201.75W-\r\n"
                      "N0CALL-9>APRS,N1DIGI*,WIDE2-1,qAR,N0CALL-10:!4903.50N/07201.75W-\r\n"
                      "N0CALL-9>APRS,WIDE1-1*,qAR,N0CALL-10:!4903.50N/07201.75W-\r\n");
    EXPECT_THAT(gateLog(),
                ElementsAre("igate: sent N0CALL-9>APRS,WIDE1-1,WIDE2-2,qAR,N0CALL-10:!4903.50N/07201.75W-",
                            "igate: sent N0CALL-9>APRS,N1DIGI*,WIDE2-1,qAR,N0CALL-10:!4903.50N/07201.75W-",
                            "igate: sent N0CALL-9>APRS,WIDE1-1*,qAR,N0CALL-10:!4903.50N/07201.75W-",
                            "igate: not sent N0CALL-9>APRS,NOGATE:>\\x1C x: path holds NOGATE"));
}

TEST_F(RadioToInternetGateTest, ReportsEveryDecisionWithItsOutcomeAndLogLine) {
    verify();
    RadioToInternetGate gate("N0CALL-10", 12345, aprs::IgateKind::TwoWay, feed, clock);
    std::vector<std::pair<std::string, std::string>> reported;
    gate.setDecisionReport([&](std::string_view outcome, const std::string& text) { reported.emplace_back(outcome, text); });
    struct Case {
        std::string_view heard;
        const char* outcome;
    };
    const Case cases[] = {
        {"N0CALL-9>APRS:>a", "sent"},
        {"N0CALL-9>APRS:\r\n>a", "empty"},
        {"N0CALL-9", "malformed"},
        {"N0CALL-9>APRS,NOGATE:>b", "never-gate path"},
        {"N0CALL-9>APRS,qAR,N1GATE:>c", "from the Internet"},
        {"N0CALL-9>APRS:?APRS?", "query"},
    };
    for (const auto& c : cases) gate.heardOnRadio(c.heard);
    ASSERT_EQ(reported.size(), std::size(cases));
    for (std::size_t i = 0; i < reported.size(); ++i) {
        EXPECT_EQ(reported[i].first, cases[i].outcome) << cases[i].heard;
        EXPECT_EQ("igate: " + reported[i].second, gateLog()[i]);
    }
    for (const auto& c : cases) EXPECT_NE(std::find(internetGateOutcomes().begin(), internetGateOutcomes().end(), c.outcome),
                                          internetGateOutcomes().end());
}

// A connection that is up but behind is not "no connection": the operator
// looks at the server's link, not at whether it is there.
TEST(RadioToInternetGateRefused, SaysWhetherTheServerIsAwayOrItsQueueIsFull) {
    testing::LogCapture log;
    testing::FakeClock clock;
    RecordingUplink uplink;
    RadioToInternetGate gate("N0CALL-10", 12345, aprs::IgateKind::TwoWay, uplink, clock);
    std::vector<std::string> outcomes;
    gate.setDecisionReport([&](std::string_view outcome, const std::string&) { outcomes.emplace_back(outcome); });
    for (const auto refusal : {aprs::UplinkRefusal::NotConnected, aprs::UplinkRefusal::QueueFull}) {
        uplink.refusal = refusal;
        gate.heardOnRadio("N0CALL-9>APRS:>a");
    }
    EXPECT_THAT(outcomes, ElementsAre("no connection", "queue full"));
    EXPECT_THAT(testing::lines(log.text("ovelsk.igate")),
                ElementsAre("igate: not sent N0CALL-9>APRS:>a: no connection to the APRS-IS server",
                            "igate: not sent N0CALL-9>APRS:>a: the queue to the APRS-IS server is full"));
}

}  // namespace
}  // namespace ovelsk::gateway
