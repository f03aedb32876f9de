#include "feeds/replay_feed.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "feeds/feeds_log.h"
#include "feeds/log_text.h"

namespace ovelsk::aprs {

ReplayFeed::ReplayFeed(std::unique_ptr<ReplaySource> source, PacketSink sink, std::unique_ptr<FeedTimer> timer,
                       ReplayOptions options)
    : source_(std::move(source)), sink_(std::move(sink)), timer_(std::move(timer)),
      options_(std::move(options)) {
    // As the Feeds setting has it: "replay:PATH", "demo".
    status_.name = options_.name == options_.kind ? options_.name : options_.kind + ":" + options_.name;
}

void ReplayFeed::start() {
    status_.state = FeedState::Playing;
    status_.since = std::chrono::system_clock::now();
    findNext();
}

ReplayFeed::Found ReplayFeed::readNextPacket() {
    std::size_t budget = kReplayReadBudgetBytes;
    while (true) {
        std::optional<std::string_view> line = reader_.nextLine();
        if (!line && sourceEnded_) {
            line = reader_.finish();
            if (!line) return Found::End;
        }
        if (!line) {
            if (budget == 0) return Found::NotYet;
            std::array<char, 16384> chunk;
            const std::size_t count = source_->read(chunk.data(), std::min(chunk.size(), budget));
            budget -= count;
            if (count == 0) sourceEnded_ = true;
            reader_.feed(std::string_view(chunk.data(), count));
            continue;
        }
        const ParsedReplayLine parsed = parseReplayLine(*line);
        if (parsed.kind == ReplayLineKind::Malformed) ++stats_.malformed;
        if (parsed.kind != ReplayLineKind::Packet) continue;
        nextTime_ = parsed.line.time;
        nextSource_ = parsed.line.sourceNumber;
        nextPacket_.assign(parsed.line.packet);
        return Found::Packet;
    }
}

void ReplayFeed::findNext() {
    switch (readNextPacket()) {
    case Found::Packet:
        schedule();
        return;
    case Found::End:
        finishPass();
        return;
    case Found::NotYet:
        timer_->start(std::chrono::milliseconds(0), [this] { findNext(); });
        return;
    }
}

void ReplayFeed::schedule() {
    std::chrono::milliseconds recordedGap = firstGap_;
    if (playedUpTo_) {
        recordedGap = std::max(nextTime_ - *playedUpTo_, std::chrono::milliseconds(0));
        if (recordedGap > kLongestReplayGap) {
            qCInfo(lcFeeds, "replay %s: the line of %s comes more than an hour after %s; the gap is cut to 1 s",
                   escapedForLog(options_.name).c_str(), utcText(nextTime_).c_str(), utcText(*playedUpTo_).c_str());
            recordedGap = kCutReplayGap;
        }
    }
    const double gap = static_cast<double>(recordedGap.count()) / options_.speed;
    timer_->start(std::chrono::milliseconds(std::llround(std::min(gap, 1e15))), [this] { deliverNext(); });
}

void ReplayFeed::deliverNext() {
    sink_(nextSource_, nextPacket_);
    ++stats_.packets;
    ++status_.packets;
    if (!playedUpTo_ || nextTime_ > *playedUpTo_) playedUpTo_ = nextTime_;
    findNext();
}

void ReplayFeed::finishPass() {
    stats_.malformed += reader_.overlongLines();
    ++stats_.passes;
    // A source without a single packet would otherwise loop without pause.
    const bool again = options_.loop && stats_.packets > 0;
    const std::string pass = again ? " (pass " + std::to_string(stats_.passes) + ", starting over)" : "";
    qCInfo(lcFeeds, "replay %s: %zu packets delivered, %zu malformed lines skipped%s", escapedForLog(options_.name).c_str(),
           stats_.packets, stats_.malformed, pass.c_str());
    if (!again) return;

    source_->rewind();
    reader_.reset();
    sourceEnded_ = false;
    stats_.packets = 0;
    stats_.malformed = 0;
    firstGap_ = options_.loopGap;
    playedUpTo_.reset();
    findNext();
}

}  // namespace ovelsk::aprs
