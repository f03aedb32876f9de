#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <cmath>
#include <map>

#include "standin/geodesy.h"
#include "feeds/kiss_feed.h"
#include "standin/standin_host.h"
#include "feeds/aprs_is_loopback_server.h"
#include "direwolf_peer.h"
#include "standin_host_fakes.h"
#include "stations/station_tracker.h"
#include "started_host.h"
#include "support/fake_clock.h"
#include "support/log_capture.h"
#include "support/scratch_folder.h"

namespace ovelsk::standin {
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

class DirewolfTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string reason = DirewolfPeer::unavailableReason(); !reason.empty()) {
            GTEST_SKIP() << "Skipping the real-TNC test: " << reason;
        }
        testing::ensureEventLoop();
    }
};

class DirewolfPeerTest : public DirewolfTest, public ::testing::WithParamInterface<bool> {};

// Serial: Direwolf serves KISS on a pseudo terminal, as a hardware TNC does on its serial port.
INSTANTIATE_TEST_SUITE_P(OverTcpAndSerial, DirewolfPeerTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Serial" : "Tcp"; });

// The peer for a KISS feed over TCP, which plays once the feed is there, or
// over its pseudo terminal, which plays on feed().
DirewolfPeer::Options peerOptions(bool serial) {
    return serial ? DirewolfPeer::Options{.playOnFirstClient = false, .pseudoTerminal = true} : DirewolfPeer::Options{};
}

std::unique_ptr<aprs::KissFeed> connectKissFeed(DirewolfPeer& peer, bool serial, aprs::PacketSink sink) {
    if (!serial) return std::make_unique<aprs::KissFeed>(aprs::FeedAddress{"127.0.0.1", peer.port()}, std::move(sink));
    return std::make_unique<aprs::KissFeed>(aprs::SerialDevice{peer.pseudoTerminal()}, std::move(sink));
}

TEST_P(DirewolfPeerTest, KissFeedReadsWhatDirewolfHearsAsTnc2Text) {
    DirewolfPeer peer;
    ASSERT_TRUE(peer.start(kRadioPackets, peerOptions(GetParam()))) << peer.error();
    std::vector<Delivery> delivered;
    auto feed = connectKissFeed(peer, GetParam(), [&](std::int16_t source, std::string_view packet) {
        delivered.push_back({source, std::string(packet)});
    });
    feed->start();
    if (GetParam()) peer.feed();
    ASSERT_TRUE(testing::spinUntil([&] { return delivered.size() >= kRadioPackets.size(); }, std::chrono::seconds(60)))
        << "received " << delivered.size() << " of " << kRadioPackets.size() << "\n" << peer.output();
    std::vector<Delivery> expected;
    for (const auto& packet : kRadioPackets) {
        expected.push_back({0, packet});
    }
    EXPECT_THAT(delivered, UnorderedElementsAreArray(expected));
}

TEST_P(DirewolfPeerTest, EveryKindOfRadioPacketReachesOvelskWithItsRouteAndPosition) {
    DirewolfPeer peer;
    ASSERT_TRUE(peer.start(kRadioPackets, peerOptions(GetParam()))) << peer.error();

    constexpr aprs::Position kHome{49.0, -72.0};
    testing::FakeClock clock;
    StandinHost host(kHome, DistanceUnit::Kilometres, clock);
    RecordingWindow window;
    window.range = "200";
    RecordingGateway gateway;
    StationTracker tracker(window, host, gateway, clock, clock.now() - kNeverHeardDaysBack);
    struct Heard {
        std::string status;
        float distance;
        float bearing;  // as Ovelsk looks it up in the host's station list
    };
    std::map<std::string, Heard> heard;
    host.bindNotifyBeaconData([&](const StationObject& cStn) {
        tracker.mUIV_NotifyBeaconData(cStn);
        heard[cStn.callsign] = {window.status, cStn.distance, tracker.LookupBearing(cStn.callsign)};
    });
    testing::LogCapture log;
    host.addFeed(connectKissFeed(peer, GetParam(), host.packetSink(aprs::FeedOrigin::Radio)));
    bool on = true;
    host.enable(on);
    if (GetParam()) peer.feed();
    ASSERT_TRUE(testing::spinUntil([&] { return heard.size() >= kRadioPackets.size(); }, std::chrono::seconds(60)))
        << "heard " << heard.size() << " of " << kRadioPackets.size() << "\n" << log.text() << peer.output();

    struct Expected {
        std::string callsign;
        std::string route;
        aprs::Position position;
    };
    const std::vector<Expected> expected = {
        {"N0CALL-9", "Via RF", {49.058333, -72.029167}},
        {"N0CALL-7", "Via RF", {49.091667, -72.0625}},
        {"N0CALL", "Via RF", {49.058333, -72.029167}},  // Mic-E
        {"N0CALL-5", "Via RF", {49.5, -72.750003}},     // compressed
        {"W1ABC-5", "Via RF 3rd Party Frame", {49.125, -72.095833}},
    };
    for (const auto& station : expected) {
        SCOPED_TRACE(station.callsign);
        ASSERT_EQ(heard.count(station.callsign), 1u);
        const Heard& got = heard[station.callsign];
        const auto where = distanceAndBearingFromHome(kHome, station.position, DistanceUnit::Kilometres);
        EXPECT_EQ(got.status, station.callsign + " " + station.route);
        EXPECT_NEAR(got.distance, where.distance, 0.02);
        EXPECT_NEAR(got.bearing, std::round(where.bearing), 1.0);
    }
}

// The whole iGate on a hardware TNC, set up from the host settings: its beacon
// goes to the APRS-IS server once the login is verified, and what the TNC hears
// follows with qAR and the station's callsign, digipeated copies too, except
// what must stay on radio; a listed station's Internet packet goes out through
// the same serial line.
TEST_F(DirewolfTest, ASerialTncIgateGatesBothWays) {
    const std::vector<std::string> heard = {
        kRadioPackets[0],                                               // direct
        kRadioPackets[1],                                               // digipeated
        "N0CALL-7>APRS,N1DIGI,N2DIGI*:!4905.50N/07203.75W>digipeated",  // the same again, from another digipeater
        kRadioPackets[2],                                               // Mic-E
        kRadioPackets[4],                                               // third-party from the Internet
        "N1GATE>APRS,WIDE2-1:}W1XYZ-3>APRS,WIDE1-1*:>gated from radio",
        "N0CALL-2>APRS,NOGATE:>no gate",
        "N0CALL-3>APRS,RFONLY,WIDE1-1:>radio only",
        "N0CALL-4>APRS,TCPIP*:>from the Internet",
        "N0CALL-6>APRS:?APRS?",
        "N0CALL-1>APRS:>last",
    };
    DirewolfPeer peer;
    ASSERT_TRUE(peer.start(heard, peerOptions(true))) << peer.error();
    testing::LoopbackServer aprsIs;
    ASSERT_TRUE(aprsIs.listen());
    testing::ScratchFolder folder;
    std::filesystem::create_directory(folder / "host");
    testing::writeFile(folder / "host/igate.ini", "[INET_TO_RF]\r\nK0ABC-9=ALL\r\n");
    testing::writeFile(folder / "UI-View32.ini",
                       "[UI-View32]\nProgram Folder=" + (folder / "host/").string() +
                           "\nLatitude=49\nLongitude=-72\nCallsign=N0TEST-10\nPasscode=12345\n"
                           "Gate To Internet=on\nGate To RF=on\nFeeds=aprs-is:127.0.0.1:" +
                           std::to_string(aprsIs.port()) + ", kiss-serial:" + peer.pseudoTerminal() + "\n");
    testing::FakeClock clock;
    testing::LogCapture log;
    const auto host = testing::startHost(folder / "UI-View32.ini", clock);
    ASSERT_TRUE(host);
    const std::string login = aprsIs.answerLogin(0, "# logresp N0TEST-10 verified, server T2TEST\r\n");
    ASSERT_FALSE(login.empty());
    ASSERT_TRUE(testing::spinUntil([&] { return log.text().find("verified, server") != std::string::npos; }));

    peer.feed();
    ASSERT_TRUE(aprsIs.waitForReceived(0, ">last\r\n")) << log.text() << peer.output();
    EXPECT_EQ(aprsIs.client(0).received.substr(login.size()),
              "N0TEST-10>APZOVL,TCPIP*:!4900.00NT07200.00W&Ovelsk iGate\r\n"
              "N0CALL-9>APRS,WIDE1-1,WIDE2-1,qAR,N0TEST-10:!4903.50N/07201.75W-direct\r\n"
              "N0CALL-7>APRS,N1DIGI*,WIDE2-1,qAR,N0TEST-10:!4905.50N/07203.75W>digipeated\r\n"
              "N0CALL-7>APRS,N1DIGI,N2DIGI*,qAR,N0TEST-10:!4905.50N/07203.75W>digipeated\r\n"
              "N0CALL>TYPS5P,WIDE1-1,qAR,N0TEST-10:`dYgoZO>/Mic-E\r\n"
              "W1XYZ-3>APRS,WIDE1-1*,qAR,N0TEST-10:>gated from radio\r\n"
              "N0CALL-1>APRS,qAR,N0TEST-10:>last\r\n");
    std::vector<std::string> notSent;
    for (const auto& line : testing::lines(log.text("ovelsk.igate"))) {
        if (line.starts_with("igate: not sent ")) notSent.push_back(line.substr(line.rfind(": ") + 2));
    }
    EXPECT_THAT(notSent, ::testing::ElementsAre("came from the Internet (TCPIP in its path)",
                                                "path holds NOGATE", "path holds RFONLY", "path holds TCPIP",
                                                "generic query"));

    aprsIs.send(0, "K0ABC-9>APRS,TCPIP*,qAC,T2TEST:>listed\r\n");
    const std::string gated = "N0TEST-10>APZOVL,WIDE1-1:}K0ABC-9>APRS,TCPIP,N0TEST-10*:>listed";
    ASSERT_TRUE(testing::spinUntil([&] { return peer.logHas(gated); }, std::chrono::seconds(60)))
        << ::testing::PrintToString(peer.transmitted()) << "\n" << log.text();
    EXPECT_THAT(peer.transmitted(), ::testing::ElementsAre(gated));
}

}  // namespace
}  // namespace ovelsk::standin
