#pragma once
// A TCP connection a feed keeps up on its own: it connects, sends the feed's
// greeting, hands on every byte received, and when the peer refuses, closes or
// stays silent it tries again after a growing wait, looking the host name up
// afresh each time. Every change is logged with the feed, the address and why.
//
// Whole lines or frames keep a connection from counting as silent (a byte now
// and then does not). Silence means a dead server only where the peer promises
// to talk: an APRS-IS server comments every 20 s, but a TNC says nothing while
// the radio channel is quiet, so its connection is instead watched by TCP
// keep-alive probes.

#include <QTcpSocket>
#include <array>
#include <chrono>
#include <string>

#include "feeds/feed_address.h"
#include "feeds/feed_connection.h"
#include "feeds/reconnect_backoff.h"

namespace ovelsk::aprs {

// An attempt that does not connect within this long has failed; a connection
// that must not be silent and delivers no whole line or frame, not even a
// server comment, for this long is taken as dead.
inline constexpr std::chrono::seconds kSilenceTimeout{120};

// What a connected peer's silence means.
enum class WhenSilent {
    Reconnect,      // it is dead: drop and connect again
    StayConnected,  // nothing: only keep-alive probes that go unanswered end it
};

class TcpFeedConnection final : public FeedConnection {
public:
    // `name` names the feed in the log ("aprs-is:rotate.aprs2.net:14580"), ovelsk.feeds.
    TcpFeedConnection(std::string name, FeedAddress address, std::string greeting, Handlers handlers,
                      FeedTimers timers, WhenSilent whenSilent);
    ~TcpFeedConnection() override;
    TcpFeedConnection(const TcpFeedConnection&) = delete;
    TcpFeedConnection& operator=(const TcpFeedConnection&) = delete;

    void start() override;
    bool send(std::string_view bytes) override;
    const std::string& name() const override { return name_; }
    bool isUp() const override { return state_ == State::Connected; }
    long long unsentBytes() const override;
    // Throws away every byte the peer has not taken and logs `why` ("to drop
    // ..."), which a connection can only do by starting over.
    void discardUnsent(const std::string& why);
    void lineOrFrameReceived() override;
    void packetDelivered() override;
    const FeedStatus& linkStatus() const override { return status_; }

private:
    enum class State { Idle, Connecting, Connected, Waiting };

    void connectNow();
    void onConnected();
    void onReadyRead();
    void drop(const std::string& reason);
    void armSilenceTimer();
    void enter(State state);

    std::string name_;
    FeedAddress address_;
    std::string greeting_;
    Handlers handlers_;
    FeedTimers timers_;
    WhenSilent whenSilent_;
    ReconnectBackoff backoff_;
    QTcpSocket socket_;
    State state_ = State::Idle;
    FeedStatus status_;
    bool wholeLineOrFrame_ = false;  // since the silence timer was last started
    std::array<char, 64 * 1024> readBuffer_{};
};

}  // namespace ovelsk::aprs
