#pragma once
// Turns one entry of the "Feeds" setting into a feed:
//   demo                 the bundled demo traffic, in a loop
//   replay:PATH          a recorded file of `TIME CHANNEL PACKET` lines
//   aprs-is:HOST:PORT    an APRS-IS server (port 14580 when left out)
//   kiss:HOST:PORT       a TNC serving KISS over TCP, such as Direwolf (port 8001 when left out)
//   kiss-serial:DEVICE:BAUD  a TNC on a serial port (9600 baud when left out)
// A new kind of feed is one more entry in the table in feed_factory.cpp.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "aprs/aprs_is_login.h"
#include "feeds/feed.h"
#include "aprs/packet_decoder.h"
#include "feeds/feed_timer.h"

namespace ovelsk::aprs {

struct FeedContext {
    // Where each feed delivers, given where its packets come from.
    std::function<PacketSink(FeedOrigin origin)> sinkFor;
    Position home;                          // e.g. for a range filter around it
    double replaySpeed = 1;
    AprsIsLogin aprsIsLogin;      // with the filter filled in
    std::function<std::unique_ptr<FeedTimer>()> makeTimer = makeEventLoopTimer;
};

// Whether a "Feeds" entry is of this kind ("aprs-is" for "aprs-is:HOST:PORT").
bool isFeedOf(std::string_view entry, std::string_view kind);
// Whether `feeds` has an entry of this kind.
bool hasFeed(const std::vector<std::string>& feeds, std::string_view kind);

// The feed, or what is wrong with the entry, worded to follow "allowed: ".
std::variant<std::unique_ptr<Feed>, std::string> makeFeed(std::string_view entry, const FeedContext& context);

}  // namespace ovelsk::aprs
