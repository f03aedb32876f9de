#include "feeds/replay_feed.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "replay_fake_timer.h"
#include "support/log_capture.h"

namespace ovelsk::aprs {
namespace {

using namespace std::chrono_literals;

struct Delivered {
    std::int16_t source;
    std::string packet;
    bool operator==(const Delivered&) const = default;
};

class ReplayFeedTest : public ::testing::Test {
protected:
    ReplayFeed& makeFeed(std::string_view text, ReplayOptions options = {"test"}) {
        auto timer = std::make_unique<FakeTimer>();
        timer_ = timer.get();
        feed_ = std::make_unique<ReplayFeed>(
            std::make_unique<TextReplaySource>(text),
            [this](std::int16_t source, std::string_view packet) { delivered_.push_back({source, std::string(packet)}); },
            std::move(timer), std::move(options));
        return *feed_;
    }

    FakeTimer* timer_ = nullptr;
    std::unique_ptr<ReplayFeed> feed_;
    std::vector<Delivered> delivered_;
    testing::LogCapture log_;
};

constexpr std::string_view kThreePackets =
    "# two minutes at home\n"
    "2026-12-08T10:00:00Z IS AAA>APRS:!1\n"
    "\n"
    "2026-12-08T10:00:30Z RF0 BBB>APRS:!2\r\n"
    "not a replay line\n"
    "2026-12-08T10:02:00.500Z RF2 CCC>APRS:!3";  // no line end at the end of the file

TEST_F(ReplayFeedTest, KeepsTheRecordedGapsAndDeliversTheFirstAtOnce) {
    makeFeed(kThreePackets).start();
    EXPECT_TRUE(delivered_.empty()) << "nothing is delivered from inside start()";
    EXPECT_EQ(timer_->runNext(), 0ms);
    EXPECT_EQ(timer_->runNext(), 30s);
    EXPECT_EQ(timer_->runNext(), 90500ms);
    EXPECT_TRUE(timer_->pending.empty());
    EXPECT_EQ(delivered_, (std::vector<Delivered>{{100, "AAA>APRS:!1"}, {0, "BBB>APRS:!2"}, {2, "CCC>APRS:!3"}}));
}

TEST_F(ReplayFeedTest, DividesTheGapsByTheReplaySpeed) {
    makeFeed(kThreePackets, {"fast", 4}).start();
    EXPECT_EQ(timer_->runNext(), 0ms);
    EXPECT_EQ(timer_->runNext(), 7500ms);
    EXPECT_EQ(timer_->runNext(), 22625ms);
}

TEST_F(ReplayFeedTest, WritesOneSummaryLineAtTheEnd) {
    makeFeed(kThreePackets).start();
    while (!timer_->pending.empty()) {
        EXPECT_EQ(log_.text(), "");
        timer_->runNext();
    }
    EXPECT_EQ(log_.text(), "replay test: 3 packets delivered, 1 malformed lines skipped\n");
}

TEST_F(ReplayFeedTest, PlaysTimesOutOfOrderAtOnce) {
    makeFeed("2026-12-08T10:00:00Z IS AAA>APRS:!1\n2026-12-08T09:00:00Z IS BBB>APRS:!2\n").start();
    timer_->runNext();
    EXPECT_EQ(timer_->runNext(), 0ms);
    EXPECT_EQ(delivered_.size(), 2u);
}

TEST_F(ReplayFeedTest, CountsOverlongLinesAsMalformed) {
    const std::string text = "2026-12-08T10:00:00Z IS AAA>APRS:" + std::string(100000, 'x') +
                             "\n2026-12-08T10:00:01Z IS BBB>APRS:!2\n";
    makeFeed(text).start();
    timer_->runNext();
    EXPECT_EQ(delivered_, (std::vector<Delivered>{{100, "BBB>APRS:!2"}}));
    EXPECT_EQ(log_.text(), "replay test: 1 packets delivered, 1 malformed lines skipped\n");
}

TEST_F(ReplayFeedTest, AFileWithoutPacketsOnlyReportsSoEvenWhenLooping) {
    makeFeed("# nothing here\nnonsense\n", {"empty", 1, true}).start();
    EXPECT_TRUE(timer_->pending.empty());
    EXPECT_EQ(log_.text(), "replay empty: 0 packets delivered, 1 malformed lines skipped\n");
}

TEST_F(ReplayFeedTest, ALoopStartsOverAfterTheLoopGap) {
    makeFeed(kThreePackets, {"demo", 2, true, 60s}).start();
    for (int i = 0; i < 3; ++i) timer_->runNext();
    EXPECT_EQ(log_.text(), "replay demo: 3 packets delivered, 1 malformed lines skipped (pass 1, starting over)\n");
    EXPECT_EQ(timer_->runNext(), 30s);
    EXPECT_EQ(timer_->runNext(), 15s);
    EXPECT_EQ(delivered_.size(), 5u);
    EXPECT_EQ(delivered_[3], delivered_[0]);
    EXPECT_EQ(feed_->stats().packets, 2u);
}

}  // namespace
}  // namespace ovelsk::aprs
