#include "feeds/demo_feed.h"

#include "feeds/replay_feed.h"

namespace ovelsk::aprs {

std::unique_ptr<Feed> makeDemoFeed(PacketSink sink, std::unique_ptr<FeedTimer> timer, double speed) {
    return std::make_unique<ReplayFeed>(std::make_unique<TextReplaySource>(demoFeedText()), std::move(sink),
                                        std::move(timer), ReplayOptions{"demo", speed, true, kDemoLoopGap, "demo"});
}

}  // namespace ovelsk::aprs
