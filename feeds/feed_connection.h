#pragma once
// A link to a feed's peer that keeps itself up: a TCP connection
// (tcp_feed_connection.h) or a serial device (serial_feed_connection.h). It
// hands on every byte received, says when the link is gone, and tries again
// after a growing wait (reconnect_backoff.h), logging every change.

#include <functional>
#include <string>
#include <string_view>

namespace ovelsk::aprs {

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
    // Writes `bytes` to the peer; false, and nothing kept, unless the link is up now.
    virtual bool send(std::string_view bytes) = 0;
    // The feed's name for the log, "kiss:localhost:8001".
    virtual const std::string& name() const = 0;
};

}  // namespace ovelsk::aprs
