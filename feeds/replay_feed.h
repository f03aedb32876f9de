#pragma once
// Plays recorded traffic: one `TIME CHANNEL PACKET` line at a time (see
// replay_line.h), keeping the gaps between the recorded times divided by the
// replay speed; the first packet goes out at once. Blank and "#" lines are
// skipped, malformed ones counted and skipped. At the end of the source one
// summary line goes to the log; a looping feed then starts over after `loopGap`,
// so its traffic carries on in the present.
//
// Gaps are counted from the latest time played so far: a line dated earlier
// plays at once and leaves that time where it was. A gap of more than an hour (a
// recording with a break, a line dated 1970 or 9999) is cut to one second, with
// a note in the log. Reading takes at most kReplayReadBudgetBytes at a time
// before other events get their turn, so no source holds up the event loop.

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "feeds/feed.h"
#include "feeds/line_reader.h"
#include "feeds/replay_line.h"
#include "feeds/replay_source.h"
#include "feeds/feed_timer.h"

namespace ovelsk::aprs {

inline constexpr std::size_t kReplayReadBudgetBytes = 128 * 1024;
inline constexpr std::chrono::hours kLongestReplayGap{1};
inline constexpr std::chrono::seconds kCutReplayGap{1};

struct ReplayOptions {
    std::string name;   // for the summary line
    double speed = 1;   // > 0; 2 plays twice as fast
    bool loop = false;
    std::chrono::milliseconds loopGap{std::chrono::seconds(60)};  // recorded time from the last packet to the first again
    std::string kind = "replay";  // the feed's kind in the Feeds setting, which names it in its status
};

struct ReplayStats {
    std::size_t packets = 0;    // delivered in this pass
    std::size_t malformed = 0;  // lines skipped as malformed in this pass, overlong ones included
    std::size_t passes = 0;     // passes finished
};

class ReplayFeed final : public Feed {
public:
    ReplayFeed(std::unique_ptr<ReplaySource> source, PacketSink sink, std::unique_ptr<FeedTimer> timer,
               ReplayOptions options);

    void start() override;
    FeedStatus status() const override { return status_; }

    const ReplayStats& stats() const { return stats_; }

private:
    enum class Found { Packet, End, NotYet };

    Found readNextPacket();
    void findNext();
    void schedule();
    void deliverNext();
    void finishPass();

    std::unique_ptr<ReplaySource> source_;
    PacketSink sink_;
    std::unique_ptr<FeedTimer> timer_;
    ReplayOptions options_;
    LineReader reader_;
    bool sourceEnded_ = false;
    ReplayStats stats_;
    FeedStatus status_;  // packets counts every pass

    // The wait before the first packet of a pass; the loop gap after the first pass.
    std::chrono::milliseconds firstGap_{0};
    // The latest recorded time played in this pass, which the next gap counts from.
    std::optional<ReplayTime> playedUpTo_;

    // The packet due next.
    ReplayTime nextTime_{};
    std::int16_t nextSource_ = 0;
    std::string nextPacket_;
};

}  // namespace ovelsk::aprs
