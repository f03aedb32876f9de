#include "standin/standin_host.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "standin_host_fakes.h"
#include "stations/station_tracker.h"
#include "support/fake_clock.h"
#include "support/scripted_host.h"

namespace ovelsk::standin {
namespace {

using ::testing::ElementsAre;
using ::testing::FieldsAre;
using ::testing::SizeIs;

constexpr aprs::Position kHome{49.0, -72.0};
// 4903.50N 07201.75W: 6.8 km from home, a little west of north.
constexpr std::string_view kDirect = "N0CALL-9>APRS,WIDE1-1,WIDE2-1:!4903.50N/07201.75W-Test";
constexpr std::string_view kDigipeated = "N0CALL-9>APRS,RELAY*,WIDE2-1:!4903.50N/07201.75W-Test";
constexpr std::string_view kThirdParty =
    "IGATE-10>APU25N,WIDE2-1:}DL1ABC-7>APRS,TCPIP,IGATE-10*:=4900.00N/07130.00W-";

class StandinHostTest : public ::testing::Test {
protected:
    StandinHostTest() {
        auto feed = std::make_unique<PushedFeed>();
        feed_ = feed.get();
        host_.addFeed(std::move(feed));
        host_.bindNotifyBeaconData([this](const StationObject& cStn) {
            events_.push_back(cStn);
            // What Ovelsk looks up while it handles the event.
            bearings_.push_back(tracker_.LookupBearing(cStn.callsign));
            tracker_.mUIV_NotifyBeaconData(cStn);
        });
    }

    void switchOn() {
        bool on = true;
        host_.enable(on);
    }

    testing::FakeClock clock_;
    StandinHost host_{kHome, DistanceUnit::Miles, clock_};
    PushedFeed* feed_ = nullptr;
    RecordingWindow window_;
    RecordingGateway gateway_;
    StationTracker tracker_{window_, host_, gateway_, clock_, clock_.now() - kNeverHeardDaysBack};
    std::vector<StationObject> events_;
    std::vector<float> bearings_;
};

TEST_F(StandinHostTest, FeedsStartOnlyWhenTheHostIsSwitchedOn) {
    host_.receivePacket(0, kDirect);
    EXPECT_EQ(feed_->starts, 0);
    EXPECT_TRUE(events_.empty());
    switchOn();
    switchOn();
    EXPECT_EQ(feed_->starts, 1);
    auto late = std::make_unique<PushedFeed>();
    auto* lateFeed = late.get();
    host_.addFeed(std::move(late));
    EXPECT_EQ(lateFeed->starts, 1);
}

TEST_F(StandinHostTest, RaisesTheBeaconWithItsStationAlreadyInTheRadioList) {
    switchOn();
    host_.packetSink()(3, kDirect);
    ASSERT_THAT(events_, SizeIs(1));
    EXPECT_EQ(events_[0].callsign, "N0CALL-9");
    EXPECT_EQ(events_[0].sourceNumber, 3);
    EXPECT_EQ(events_[0].path, "APRS,WIDE1-1,WIDE2-1");
    EXPECT_NEAR(events_[0].distance, 4.243f, 0.001f);
    EXPECT_EQ(bearings_[0], 342.0f);
    ASSERT_EQ(host_.stationListCount(), 1);
    EXPECT_EQ(stationListCallsign(host_.stationListLine(0)), "N0CALL-9");
    EXPECT_THAT(host_.secondStationList(), SizeIs(1)) << "only the header";
}

TEST_F(StandinHostTest, InternetBeaconsGoBelowTheHeaderOfTheSecondList) {
    switchOn();
    host_.receivePacket(kInternetStreamSource, "N0CALL>APRS,TCPIP*,qAC,T2TEST:!4903.50N/07201.75W-");
    ASSERT_THAT(events_, SizeIs(1));
    EXPECT_EQ(events_[0].sourceNumber, 100);
    EXPECT_EQ(bearings_[0], 342.0f);
    EXPECT_EQ(host_.stationListCount(), 0);
    ASSERT_THAT(host_.secondStationList(), SizeIs(2));
    EXPECT_EQ(stationListCallsign(host_.secondStationList()[1]), "N0CALL");
}

TEST_F(StandinHostTest, MarksADigipeatedStationAndStillFindsIt) {
    switchOn();
    host_.receivePacket(0, kDirect);
    host_.receivePacket(0, kDigipeated);
    ASSERT_EQ(host_.stationListCount(), 1);
    EXPECT_EQ(host_.stationListLine(0).substr(0, 11), " N0CALL-9* ");
    EXPECT_EQ(bearings_[1], 342.0f);
    host_.receivePacket(0, kDirect);
    EXPECT_EQ(host_.stationListLine(0).substr(0, 11), " N0CALL-9  ");
}

TEST_F(StandinHostTest, ReportsAThirdPartyFrameAsItsInnerPacket) {
    switchOn();
    host_.receivePacket(1, kThirdParty);
    ASSERT_THAT(events_, SizeIs(1));
    EXPECT_EQ(events_[0].callsign, "DL1ABC-7");
    EXPECT_EQ(events_[0].path, "APRS,TCPIP,IGATE-10*");
    EXPECT_EQ(events_[0].sourceNumber, 1);
    EXPECT_EQ(bearings_[0], 90.0f);
    EXPECT_EQ(window_.status, "DL1ABC-7 Via RF 3rd Party Frame");
}

TEST_F(StandinHostTest, CountsWhatRaisesNoBeaconAndRaisesNothingForIt) {
    switchOn();
    for (const std::string_view packet : {"N0CALL>APRS:>status only", "garbage", "", "N0CALL>APRS::BLN1     :x",
                                          "BAD=CALL>APRS:!4903.50N/07201.75W-"}) {
        host_.receivePacket(0, packet);
    }
    EXPECT_TRUE(events_.empty());
    EXPECT_EQ(host_.packetsDropped(), 5u);
    EXPECT_EQ(host_.stationListCount(), 0);
}

TEST_F(StandinHostTest, ShowsTheLastHeardTimeAndTheDistanceInTheHostsUnit) {
    StandinHost metric(kHome, DistanceUnit::Kilometres, clock_);
    std::vector<StationObject> events;
    metric.bindNotifyBeaconData([&](const StationObject& cStn) { events.push_back(cStn); });
    bool on = true;
    metric.enable(on);
    metric.receivePacket(0, kDirect);
    clock_.advanceMinutes(1.5);
    clock_.wallClockStep = 1.0 / 24;  // the wall clock was set an hour on meanwhile: the time shown follows it
    metric.receivePacket(0, kDirect);
    ASSERT_THAT(events, SizeIs(2));
    EXPECT_NEAR(events[0].distance, 6.829f, 0.001f);
    const auto line = metric.stationListLine(0);
    EXPECT_NE(line.find(formatLocalDateTime(clock_.shownTime(clock_.now()))), std::string_view::npos) << line;
    EXPECT_NE(line.find("6.8 km"), std::string_view::npos) << line;
}

TEST_F(StandinHostTest, AnswersOutOfRangeLineIndexesWithAnEmptyLine) {
    switchOn();
    host_.receivePacket(0, kDirect);
    EXPECT_EQ(host_.stationListLine(1), "");
    EXPECT_EQ(host_.stationListLine(-1), "");
}

TEST_F(StandinHostTest, TheListIndexFindsTheBearingTheWalkFinds) {
    host_.receivePacket(0, kDigipeated);  // N0CALL-9* on radio
    host_.receivePacket(kInternetStreamSource, "N0CALL-9>APRS,TCPIP*,qAC,T2:!4930.00N/07100.00W-");  // and on the Internet
    host_.receivePacket(kInternetStreamSource, "W1AW>APRS,TCPIP*,qAC,T2:!4800.00N/07200.00W-");
    host_.receivePacket(kInternetStreamSource, "W1AW>APRS,TCPIP*,qAC,T2:!4800.00N/07300.00W-");  // moved
    host_.receivePacket(3, kThirdParty);
    ASSERT_TRUE(host_.findStationLine("W1AW").answered);
    // The same lines in a host without an index: LookupBearing walks them.
    testing::ScriptedHost walked;
    for (std::int16_t i = 0; i < host_.stationListCount(); ++i) walked.indexedList.emplace_back(host_.stationListLine(i));
    walked.secondList.assign(host_.secondStationList().begin(), host_.secondStationList().end());
    StationTracker walker(window_, walked, gateway_, clock_, clock_.now() - kNeverHeardDaysBack);
    for (const char* callsign : {"N0CALL-9", "N0CALL-9*", "N0CALL", "W1AW", "DL1ABC-7", "Callsign", "", "nobody"}) {
        EXPECT_EQ(tracker_.LookupBearing(callsign), walker.LookupBearing(callsign)) << callsign;
    }
}

}  // namespace
}  // namespace ovelsk::standin
