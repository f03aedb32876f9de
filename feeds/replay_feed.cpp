#include "feeds/replay_feed.h"

#include <array>
#include <cmath>
#include <ostream>

#include "feeds/log_text.h"

namespace ovelsk::aprs {

ReplayFeed::ReplayFeed(std::unique_ptr<ReplaySource> source, PacketSink sink, std::unique_ptr<FeedTimer> timer,
                       ReplayOptions options, std::ostream& log)
    : source_(std::move(source)), sink_(std::move(sink)), timer_(std::move(timer)),
      options_(std::move(options)), log_(log) {}

void ReplayFeed::start() {
    if (readNextPacket()) {
        schedule(std::chrono::milliseconds(0));
    } else {
        finishPass();
    }
}

bool ReplayFeed::readNextPacket() {
    while (true) {
        std::optional<std::string_view> line = reader_.nextLine();
        if (!line && sourceEnded_) {
            line = reader_.finish();
            if (!line) return false;
        }
        if (!line) {
            std::array<char, 16384> chunk;
            const std::size_t count = source_->read(chunk.data(), chunk.size());
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
        return true;
    }
}

void ReplayFeed::schedule(std::chrono::milliseconds recordedGap) {
    // Times out of order play at once rather than never.
    const double gap = std::max<double>(0, static_cast<double>(recordedGap.count())) / options_.speed;
    timer_->start(std::chrono::milliseconds(std::llround(std::min(gap, 1e15))), [this] { deliverNext(); });
}

void ReplayFeed::deliverNext() {
    sink_(nextSource_, nextPacket_);
    ++stats_.packets;
    const ReplayTime delivered = nextTime_;
    if (readNextPacket()) {
        schedule(nextTime_ - delivered);
    } else {
        finishPass();
    }
}

void ReplayFeed::finishPass() {
    stats_.malformed += reader_.overlongLines();
    ++stats_.passes;
    log_ << "replay " << escapedForLog(options_.name) << ": " << stats_.packets << " packets delivered, " << stats_.malformed
         << " malformed lines skipped";
    // A source without a single packet would otherwise loop without pause.
    const bool again = options_.loop && stats_.packets > 0;
    if (again) log_ << " (pass " << stats_.passes << ", starting over)";
    log_ << '\n' << std::flush;
    if (!again) return;

    source_->rewind();
    reader_.reset();
    sourceEnded_ = false;
    stats_.packets = 0;
    stats_.malformed = 0;
    if (readNextPacket()) schedule(options_.loopGap);
}

}  // namespace ovelsk::aprs
