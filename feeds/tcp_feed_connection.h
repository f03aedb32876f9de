#pragma once
// A TCP connection a feed keeps up on its own: it connects, sends the feed's
// greeting, hands on every byte received, and when the peer refuses, closes or
// stays silent it tries again after a growing wait, looking the host name up
// afresh each time. Every change is logged with the feed, the address and why.
//
// Only the feed knows what a whole line or frame and a packet are, so it tells
// the connection: whole lines or frames keep it from counting as silent (a byte
// now and then does not), and only a delivered packet, or a connection that
// stayed up for a minute, starts the waits over at 1 s (a server that greets
// and hangs up does not).

#include <QTcpSocket>
#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "feeds/feed_address.h"
#include "feeds/feed_timer.h"
#include "feeds/reconnect_backoff.h"

namespace ovelsk::aprs {

// A connection that delivers no whole line or frame, not even a server comment,
// for this long is taken as dead; so is an attempt that does not connect within it.
inline constexpr std::chrono::seconds kSilenceTimeout{120};
// A connection that stayed up this long has recovered, even without a packet.
inline constexpr std::chrono::seconds kSettledAfter{60};

struct FeedTimers {
    std::unique_ptr<FeedTimer> retry;
    std::unique_ptr<FeedTimer> silence;
    std::unique_ptr<FeedTimer> settled;

    static FeedTimers onEventLoop();
};

class TcpFeedConnection {
public:
    struct Handlers {
        std::function<void(std::string_view bytes)> received;
        // The connection is gone: bytes of an unfinished line or frame will never
        // be completed and must be forgotten.
        std::function<void()> lost;
    };

    // `name` names the feed in the log ("aprs-is:rotate.aprs2.net:14580"), ovelsk.feeds.
    TcpFeedConnection(std::string name, FeedAddress address, std::string greeting, Handlers handlers,
                      FeedTimers timers);
    ~TcpFeedConnection();
    TcpFeedConnection(const TcpFeedConnection&) = delete;
    TcpFeedConnection& operator=(const TcpFeedConnection&) = delete;

    // Starts the first attempt; the connection then keeps itself up.
    void start();
    // Writes `bytes` to the peer; false, and nothing kept, unless connected now.
    bool send(std::string_view bytes);
    const std::string& name() const { return name_; }

    // A whole line or frame arrived: the peer is alive.
    void lineOrFrameReceived();
    // A packet went on to the feed's sink: the connection works.
    void packetDelivered();

private:
    enum class State { Idle, Connecting, Connected, Waiting };

    void connectNow();
    void onConnected();
    void onReadyRead();
    void drop(const std::string& reason);
    void armSilenceTimer();

    std::string name_;
    FeedAddress address_;
    std::string greeting_;
    Handlers handlers_;
    FeedTimers timers_;
    ReconnectBackoff backoff_;
    QTcpSocket socket_;
    State state_ = State::Idle;
    bool wholeLineOrFrame_ = false;  // since the silence timer was last started
    std::array<char, 64 * 1024> readBuffer_{};
};

}  // namespace ovelsk::aprs
