#pragma once
// The bundled demo: recorded traffic around a home near Boulder, Colorado
// (samples/demo-feed.txt, built into the program), played in a loop, and the
// sample igate.ini a first start puts beside it.

#include <chrono>
#include <memory>
#include <string_view>

#include "feeds/feed.h"
#include "aprs/packet_decoder.h"
#include "feeds/feed_timer.h"

namespace ovelsk::aprs {

// The home the demo traffic was recorded around; samples/make_demo_feed.py uses the same.
inline constexpr Position kDemoHome{40.015, -105.2705};

// Recorded time from the last packet of the demo to the first one again.
inline constexpr std::chrono::milliseconds kDemoLoopGap = std::chrono::seconds(30);

std::string_view demoFeedText();
std::string_view sampleIgateIni();

std::unique_ptr<Feed> makeDemoFeed(PacketSink sink, std::unique_ptr<FeedTimer> timer, double speed);

}  // namespace ovelsk::aprs
