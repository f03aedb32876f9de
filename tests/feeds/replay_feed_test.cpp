#include "feeds/replay_feed.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// Bytes without a line end, as /dev/zero gives them, up to a size.
class ZeroSource final : public ReplaySource {
public:
    explicit ZeroSource(std::size_t size) : size_(size) {}
    std::size_t read(char* into, std::size_t max) override {
        const std::size_t count = std::min(max, size_ - bytesRead);
        std::fill_n(into, count, '\0');
        bytesRead += count;
        return count;
    }
    void rewind() override { bytesRead = 0; }

    std::size_t bytesRead = 0;

private:
    std::size_t size_;
};

class ReplayFeedTest : public ::testing::Test {
protected:
    ReplayFeed& makeFeed(std::string_view text, ReplayOptions options = {"test"}) {
        return makeFeed(std::make_unique<TextReplaySource>(text), std::move(options));
    }
    ReplayFeed& makeFeed(std::unique_ptr<ReplaySource> source, ReplayOptions options = {"test"}) {
        auto timer = std::make_unique<FakeTimer>();
        timer_ = timer.get();
        feed_ = std::make_unique<ReplayFeed>(
            std::move(source),
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

TEST_F(ReplayFeedTest, CountsGapsFromTheLatestTimePlayedAndCutsThoseOverAnHour) {
    struct Case {
        std::vector<std::string_view> times;
        std::vector<std::chrono::milliseconds> waits;
        std::string note;
    };
    for (const auto& [times, waits, note] : std::vector<Case>{
             {{"2026-12-08T10:00:00Z", "2026-12-08T09:59:00Z", "2026-12-08T10:00:02Z"}, {0ms, 0ms, 2s}, ""},
             {{"2026-12-08T10:00:00Z", "1970-01-01T00:00:00Z", "2026-12-08T10:00:05Z"}, {0ms, 0ms, 5s}, ""},
             {{"2026-12-08T10:00:00Z", "2026-12-08T11:00:00Z"}, {0ms, 1h}, ""},
             {{"2026-12-08T10:00:00Z", "2026-12-08T11:00:01Z", "2026-12-08T11:00:03Z"}, {0ms, 1s, 2s},
              "replay test: the line of 2026-12-08T11:00:01Z comes more than an hour after 2026-12-08T10:00:00Z; "
              "the gap is cut to 1 s\n"},
             {{"2026-12-08T10:00:00Z", "9999-12-31T23:59:59Z"}, {0ms, 1s},
              "replay test: the line of 9999-12-31T23:59:59Z comes more than an hour after 2026-12-08T10:00:00Z; "
              "the gap is cut to 1 s\n"},
         }) {
        std::string text;
        for (const auto time : times) text += std::string(time) + " IS AAA>APRS:!1\n";
        SCOPED_TRACE(text);
        log_.clear();
        makeFeed(text).start();
        std::vector<std::chrono::milliseconds> played;
        while (!timer_->pending.empty()) played.push_back(timer_->runNext());
        EXPECT_EQ(played, waits);
        EXPECT_EQ(log_.text(), note + "replay test: " + std::to_string(times.size()) +
                                  " packets delivered, 0 malformed lines skipped\n");
    }
}

TEST_F(ReplayFeedTest, ReadsASourceWithoutLineEndsABudgetAtATimeBetweenOtherEvents) {
    auto source = std::make_unique<ZeroSource>(std::size_t{64} << 20);
    const ZeroSource& zeros = *source;
    makeFeed(std::move(source)).start();
    for (std::size_t turn = 1; turn <= 3; ++turn) {
        EXPECT_EQ(zeros.bytesRead, turn * kReplayReadBudgetBytes);
        ASSERT_EQ(timer_->pending.size(), 1u);
        EXPECT_EQ(timer_->runNext(), 0ms);
    }
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
