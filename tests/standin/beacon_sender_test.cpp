// The iGate's own beacon: when it goes, where, and when start-up sends none.
#include "standin/beacon_sender.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "feeds/aprs_is_loopback_server.h"
#include "gate_fakes.h"
#include "started_host.h"
#include "support/fake_clock.h"
#include "support/log_capture.h"
#include "support/scratch_folder.h"

namespace ovelsk::aprs {
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

// Start-up sends the beacon to the APRS-IS server from the home in the
// settings, but none from the demo's home, and says why.
TEST(BeaconSender, StartUpSendsNoneFromTheDemosHome) {
    struct Case {
        std::string home;
        std::string sent;     // after the login
        std::string logged;  // by start-up and the beacon
    };
    for (const auto& [home, sent, logged] : std::vector<Case>{
             {"Latitude=49\nLongitude=-72\n", "N0TEST-10>APZOVL,TCPIP*:!4900.00NR07200.00W&Ovelsk iGate\r\n",
              "gate: beacon sent to APRS-IS\n"},
             {"Latitude=40.015\nLongitude=-105.2705\n", "",
              "No beacon: \"Latitude\" and \"Longitude\" are still the demo's home; set them to the iGate's own "
              "position\n"},
         }) {
        testing::LoopbackServer aprsIs;
        ASSERT_TRUE(aprsIs.listen());
        testing::ScratchFolder folder;
        testing::writeFile(folder / "UI-View32.ini", "[UI-View32]\nProgram Folder=" + folder.path().string() + "/\n" + home +
                                                         "Callsign=N0TEST-10\nPasscode=12345\nFeeds=aprs-is:127.0.0.1:" +
                                                         std::to_string(aprsIs.port()) + "\n");
        testing::FakeClock clock;
        testing::LogCapture log;
        const auto host = testing::startHost(folder / "UI-View32.ini", clock);
        ASSERT_TRUE(host);
        const std::string login = aprsIs.answerLogin(0, "# logresp N0TEST-10 verified, server T2TEST\r\n");
        ASSERT_FALSE(login.empty());
        ASSERT_TRUE(testing::spinUntil([&] { return log.text().find("verified, server") != std::string::npos; }));
        if (!sent.empty()) {
            ASSERT_TRUE(aprsIs.waitForReceived(0, sent));
        }
        EXPECT_EQ(aprsIs.client(0).received, login + sent) << home;
        EXPECT_EQ(log.text("ovelsk.settings") + log.text("ovelsk.gate"), logged) << home;
    }
}

}  // namespace
}  // namespace ovelsk::aprs
