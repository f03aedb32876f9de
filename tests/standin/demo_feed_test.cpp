#include "feeds/demo_feed.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

#include "feeds/replay_feed.h"
#include "feeds/replay_line.h"
#include "standin/standin_host.h"
#include "feeds/replay_fake_timer.h"
#include "standin_host_fakes.h"
#include "stations/station_tracker.h"
#include "support/fake_clock.h"
#include "support/log_capture.h"
#include "support/scratch_folder.h"

namespace ovelsk::standin {
namespace {

using namespace std::chrono_literals;

constexpr double kDefaultRangeMiles = 40;

struct DemoBeacon {
    std::chrono::seconds at;  // from the first line
    std::int16_t source;
    aprs::DecodedPacket packet;
    char format;  // 'u'ncompressed, 'c'ompressed, 'm'ic-E
};

// The information field of the packet that carries the position.
char positionFormat(std::string_view packet) {
    auto info = packet.substr(packet.find(':') + 1);
    if (info.starts_with('}')) info = info.substr(info.find(':') + 1);
    if (info.starts_with('`') || info.starts_with('\'')) return 'm';
    if (info.starts_with('/') || info.starts_with('@')) info.remove_prefix(7);  // timestamp
    return std::isdigit(static_cast<unsigned char>(info[1])) ? 'u' : 'c';
}

class DemoFeedTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::istringstream lines{std::string(aprs::demoFeedText())};
        std::optional<aprs::ReplayTime> first;
        for (std::string line; std::getline(lines, line);) {
            const auto parsed = aprs::parseReplayLine(line);
            if (parsed.kind == aprs::ReplayLineKind::Malformed) ++malformedLines;
            if (parsed.kind != aprs::ReplayLineKind::Packet) continue;
            if (!first) first = parsed.line.time;
            const auto decoded = aprs::decodePacket(parsed.line.packet);
            if (!decoded.packet) {
                dropReasons.insert(decoded.dropReason);
                continue;
            }
            beacons.push_back({std::chrono::duration_cast<std::chrono::seconds>(parsed.line.time - *first),
                               parsed.line.sourceNumber, *decoded.packet, positionFormat(parsed.line.packet)});
        }
    }

    static double miles(const DemoBeacon& beacon) {
        return distanceAndBearingFromHome(aprs::kDemoHome, beacon.packet.position, DistanceUnit::Miles).distance;
    }

    static inline std::vector<DemoBeacon> beacons;
    static inline std::set<aprs::DropReason> dropReasons;
    static inline int malformedLines = 0;
};

TEST_F(DemoFeedTest, IsTheSampleFileBuiltIn) {
    EXPECT_EQ(aprs::demoFeedText(), testing::readFile(std::filesystem::path(OVELSK_SOURCE_DIR) / "samples/demo-feed.txt"));
    EXPECT_THAT(std::string(aprs::demoFeedText()), ::testing::HasSubstr("# home 40.015000 -105.270500,"))
        << "the generator and kDemoHome agree";
}

TEST_F(DemoFeedTest, CarriesVariedTrafficAndAFewBadLines) {
    std::set<std::string> stations, internetOnly, onRadio, digipeated, thirdParty, outOfRange;
    std::set<char> formats;
    for (const auto& beacon : beacons) {
        stations.insert(beacon.packet.callsign);
        formats.insert(beacon.format);
        if (beacon.source != kInternetStreamSource && !beacon.packet.thirdParty) onRadio.insert(beacon.packet.callsign);
        if (beacon.packet.viaDigipeater && !beacon.packet.thirdParty) digipeated.insert(beacon.packet.callsign);
        if (beacon.packet.thirdParty) thirdParty.insert(beacon.packet.callsign);
        if (miles(beacon) > kDefaultRangeMiles) outOfRange.insert(beacon.packet.callsign);
    }
    for (const auto& station : stations) {
        if (!onRadio.contains(station) && !thirdParty.contains(station)) internetOnly.insert(station);
    }
    EXPECT_GE(stations.size(), 40u);
    EXPECT_EQ(formats, (std::set<char>{'u', 'c', 'm'}));
    EXPECT_GE(internetOnly.size(), 10u);
    EXPECT_GE(onRadio.size(), 10u);
    EXPECT_GE(digipeated.size(), 5u);
    EXPECT_GE(thirdParty.size(), 3u);
    EXPECT_GE(outOfRange.size(), 5u);
    EXPECT_EQ(malformedLines, 2);
    EXPECT_GE(dropReasons.size(), 5u);
}

TEST_F(DemoFeedTest, StationsComeAndGoOverALoop) {
    std::map<std::string, std::chrono::seconds> first, last;
    for (const auto& beacon : beacons) {
        first.try_emplace(beacon.packet.callsign, beacon.at);
        last[beacon.packet.callsign] = beacon.at;
    }
    const auto loopEnd = beacons.back().at;
    EXPECT_GE(std::count_if(last.begin(), last.end(), [&](const auto& s) { return loopEnd - s.second > 60min; }), 3);
    EXPECT_GE(std::count_if(first.begin(), first.end(), [](const auto& s) { return s.second > 40min; }), 3);
}

// The demo played into the host and on into Ovelsk's station tracking, with the
// clock following the replay's pacing.
class DemoPlayTest : public ::testing::Test {
protected:
    DemoPlayTest() {
        host_.bindNotifyBeaconData([this](const StationObject& cStn) { tracker_.mUIV_NotifyBeaconData(cStn); });
        auto timer = std::make_unique<aprs::FakeTimer>();
        timer_ = timer.get();
        host_.addFeed(aprs::makeDemoFeed(host_.packetSink(), std::move(timer), 1));
        bool on = true;
        host_.enable(on);
    }

    void playFor(std::chrono::milliseconds span) {
        const auto end = played_ + span;
        while (!timer_->pending.empty() && played_ + timer_->pending.front().delay <= end) {
            played_ += timer_->pending.front().delay;
            clock_.advanceMinutes(std::chrono::duration<double, std::ratio<60>>(timer_->pending.front().delay).count());
            timer_->runNext();
        }
    }

    std::set<std::string> tracked() const {
        std::set<std::string> callsigns;
        for (const auto& station : tracker_.table()) {
            if (station.inUse == -1) callsigns.insert(station.callsign);
        }
        return callsigns;
    }

    testing::FakeClock clock_;
    StandinHost host_{aprs::kDemoHome, DistanceUnit::Miles, clock_};
    RecordingWindow window_;
    RecordingGateway gateway_;
    StationTracker tracker_{window_, host_, gateway_, clock_, clock_.now() - kNeverHeardDaysBack};
    aprs::FakeTimer* timer_ = nullptr;
    testing::LogCapture log_;
    std::chrono::milliseconds played_{0};
};

TEST_F(DemoPlayTest, WithinTheFirstMinuteTheListFillsAndTheGatewayGetsABlock) {
    playFor(60s);
    EXPECT_GE(host_.stationListCount(), 3);
    EXPECT_GE(host_.secondStationList().size(), 4u);
    EXPECT_GE(tracked().size(), 5u);
    EXPECT_GE(gateway_.rows.size(), 3u) << "Internet-only stations are candidates at once";
    EXPECT_THAT(window_.status, ::testing::MatchesRegex(".+ Via (Internet Stream|RF|RF 3rd Party Frame)"));
}

TEST_F(DemoPlayTest, LoopsOnWithStationsComingAndGoing) {
    playFor(30min);
    const auto early = tracked();
    playFor(65min);
    const auto late = tracked();
    EXPECT_EQ(host_.packetsDropped(), 8u) << "what raises no beacon";
    std::vector<std::string> gone, came;
    std::set_difference(early.begin(), early.end(), late.begin(), late.end(), std::back_inserter(gone));
    std::set_difference(late.begin(), late.end(), early.begin(), early.end(), std::back_inserter(came));
    EXPECT_GE(gone.size(), 3u);
    EXPECT_GE(came.size(), 3u);
    playFor(30min);
    EXPECT_THAT(log_.text("ovelsk.feeds"), ::testing::StartsWith("replay demo: "));
    EXPECT_GE(tracked().size(), 10u) << "the second pass carries on";
}

}  // namespace
}  // namespace ovelsk::standin
