#pragma once
// A link to a feed's peer that keeps itself up: a TCP connection
// (tcp_feed_connection.h) or a serial device (serial_feed_connection.h). It
// hands on every byte received, says when the link is gone, and tries again
// after a growing wait (reconnect_backoff.h), logging every change in ovelsk.feeds.
//
// Only the feed knows what a whole line or frame and a packet are, so it tells
// the link: only a delivered packet, or a link that stayed up for a minute,
// starts the waits over at 1 s (a server that greets and hangs up does not).

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "feeds/feed_status.h"
#include "feeds/feed_timer.h"

class QIODevice;

namespace ovelsk::aprs {

// A link that stayed up this long has recovered, even without a packet.
inline constexpr std::chrono::seconds kSettledAfter{60};

// What a link holds for a peer that does not take it: a few minutes of gated
// frames or packet lines. Beyond it sending fails, as if the link were down.
inline constexpr long long kMaxUnsentBytes = 64 * 1024;

// Writes all of `bytes` to `device`, unless more than kMaxUnsentBytes wait
// there already: a stalled peer does not grow our memory, and what it would
// get late is dropped now.
bool writeUnlessBacklogged(QIODevice& device, std::string_view bytes);

// The waits a link keeps; a serial device uses no silence timer.
struct FeedTimers {
    std::unique_ptr<FeedTimer> retry;
    std::unique_ptr<FeedTimer> silence;
    std::unique_ptr<FeedTimer> settled;

    static FeedTimers onEventLoop();
};

class FeedConnection {
public:
    struct Handlers {
        std::function<void(std::string_view bytes)> received;
        // The link is gone: bytes of an unfinished line or frame will never be
        // completed and must be forgotten.
        std::function<void()> lost;
    };

    virtual ~FeedConnection() = default;

    // Starts the first attempt; the link then keeps itself up.
    virtual void start() = 0;
    // Writes `bytes` to the peer; false, and nothing kept, unless the link is up
    // now and the peer takes what it was sent.
    virtual bool send(std::string_view bytes) = 0;
    // The feed's name for the log, "kiss:localhost:8001".
    virtual const std::string& name() const = 0;
    // Connected or open, whether the peer reads or not.
    virtual bool isUp() const = 0;
    // How many of the bytes sent the peer has not taken yet, as far as this side
    // can see: our buffer and the system's queue for the peer.
    virtual long long unsentBytes() const = 0;

    // A whole line or frame arrived: the peer is alive.
    virtual void lineOrFrameReceived() {}
    // A packet went on to the feed's sink: the link works.
    virtual void packetDelivered() = 0;
    // The link's name, state, since when, next attempt and last error; the feed
    // adds what it counts.
    virtual const FeedStatus& linkStatus() const = 0;
};

}  // namespace ovelsk::aprs
