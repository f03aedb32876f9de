// The iGate's own beacon: when it goes and where.
#include "gateway/beacon_sender.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "feeds/aprs_is_loopback_server.h"
#include "gateway/gate_fakes.h"
#include "support/log_capture.h"

namespace ovelsk::gateway {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::string_view kReport = "!4900.00NT07200.00W&Ovelsk iGate";

TEST(BeaconSender, GoesOnceTheLoginIsVerifiedThenEveryIntervalToTheServerAndOnTheAir) {
    RecordingUplink server;
    RecordingTransmitter tnc;
    auto timer = std::make_unique<testing::ManualTimer>();
    testing::ManualTimer& interval = *timer;
    testing::LogCapture log;
    BeaconSender beacon({std::string(kReport), std::chrono::minutes(30), &server, "N0TEST-10", &tnc, "N0TEST",
                         "WIDE1-1,WIDE2-1", 1},
                        std::move(timer));
    beacon.start();
    EXPECT_THAT(server.lines, IsEmpty()) << "not before the login is verified";
    EXPECT_EQ(interval.delay(), std::chrono::minutes(30));

    server.onLoginVerified();
    const std::string internet = "N0TEST-10>APZOVL,TCPIP*:" + std::string(kReport);
    const std::string radio = "N0TEST>APZOVL,WIDE1-1,WIDE2-1:" + std::string(kReport);
    EXPECT_THAT(server.lines, ElementsAre(internet));
    EXPECT_THAT(tnc.sent, ElementsAre(radio));
    EXPECT_THAT(tnc.ports, ElementsAre(1));

    server.onLoginVerified();  // a new connection
    interval.fire();
    EXPECT_THAT(server.lines, ElementsAre(internet, internet));
    EXPECT_THAT(tnc.sent, ElementsAre(radio, radio));

    // The server away at the interval: the beacon goes once it is back; the TNC
    // away: the next interval.
    server.verified = false;
    tnc.connected = false;
    interval.fire();
    server.verified = true;
    server.onLoginVerified();
    tnc.connected = true;
    EXPECT_THAT(server.lines, ElementsAre(internet, internet, internet));
    EXPECT_THAT(tnc.sent, ElementsAre(radio, radio));
    EXPECT_EQ(log.text("ovelsk.gate"),
              "gate: beacon sent to APRS-IS\ngate: beacon sent to RF\n"
              "gate: beacon sent to APRS-IS\ngate: beacon sent to RF\n"
              "gate: beacon not sent to APRS-IS: the login is not verified; it goes once it is\n"
              "gate: beacon not sent to RF: kiss:tnc:8001 is not connected\n"
              "gate: beacon sent to APRS-IS\n");
}

}  // namespace
}  // namespace ovelsk::gateway
