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
#include "support/fake_clock.h"

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

TEST_F(DirewolfPeerTest, EveryKindOfRadioPacketReachesOvelskWithItsRouteAndPosition) {
    DirewolfPeer peer;
    ASSERT_TRUE(peer.start(kRadioPackets)) << peer.error();

    constexpr Position kHome{49.0, -72.0};
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
    host.addFeed(std::make_unique<KissFeed>(FeedAddress{"127.0.0.1", peer.port()}, host.packetSink()));
    bool on = true;
    host.enable(on);
    ASSERT_TRUE(testing::spinUntil([&] { return heard.size() >= kRadioPackets.size(); }, std::chrono::seconds(60)))
        << "heard " << heard.size() << " of " << kRadioPackets.size() << "\n" << log.text() << peer.output();

    struct Expected {
        std::string callsign;
        std::string route;
        Position position;
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

}  // namespace
}  // namespace ovelsk::aprs
