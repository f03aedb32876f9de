#pragma once
// Frames handed to a TNC reach it within kTransmitDeadline or never: a frame
// that goes on the air late (a TNC that stopped reading for 20 s and then took
// everything at once) is worse than none, since its position is old and the
// station it was gated for may have moved on or repeated it meanwhile.
//
// While frames wait, the link is checked every second, and a frame still
// waiting at the fifth check after it was sent (4 to 5 s later, never more) is
// dropped and counted in the log. KISS cannot abort a frame: a TNC that has read
// the start of one ends it at the next frame's first byte. So only a link that
// forgets such a frame may throw away what the TNC has begun:
// - over TCP frames are handed over at once, and a late one has the connection
//   reset with all that waits (Direwolf forgets a half frame on reset);
// - a serial line cannot take bytes back without cutting a frame short, and
//   the TNC would transmit the rest. Its frames wait here, whole, and the device
//   is handed the next one only once it holds nothing, so at most one frame is
//   ever in the system's hands and it goes out whole, if late.
//
// What "waiting" can mean is limited by what this side sees: our own buffer and
// the system's queue of bytes the peer has not yet acknowledged or the device
// has not yet sent. Bytes the peer's system took but the TNC program has not read
// (a TNC on loopback TCP that stopped reading still has its kernel acknowledge
// up to its receive buffer; a pseudo terminal buffers unseen), or a hardware
// TNC's own buffer, are out of sight and cannot be taken back.

#include <chrono>
#include <deque>
#include <memory>
#include <string>
#include <string_view>

#include "feeds/feed_timer.h"
#include "feeds/serial_feed_connection.h"
#include "feeds/tcp_feed_connection.h"

namespace ovelsk::aprs {

inline constexpr std::chrono::seconds kTransmitDeadline{5};
inline constexpr std::chrono::seconds kTransmitCheckInterval{1};

class TransmitDeadline {
public:
    TransmitDeadline(TcpFeedConnection& connection, std::unique_ptr<FeedTimer> check);
    TransmitDeadline(SerialFeedConnection& connection, std::unique_ptr<FeedTimer> check);
    TransmitDeadline(const TransmitDeadline&) = delete;
    TransmitDeadline& operator=(const TransmitDeadline&) = delete;

    // Takes one frame for the TNC; false, and nothing kept, when the link is
    // down or does not take what it is sent.
    bool send(std::string_view frame);
    // The link was lost: nothing it held waits any more.
    void forget();

private:
    struct Waiting {
        long long end;    // the count of bytes handed over once this frame is
        int handedAt;     // the check count when it was handed over
    };
    struct Held {
        std::string frame;
        int heldAt;       // the check count when it was taken
    };

    bool hold(std::string_view frame);
    void handOverNext();
    void check();
    bool late(int since) const;

    FeedConnection& connection_;
    TcpFeedConnection* resettable_ = nullptr;  // none: frames are held back whole
    std::unique_ptr<FeedTimer> timer_;
    std::deque<Waiting> waiting_;  // handed over, not yet taken
    std::deque<Held> held_;        // not yet handed over
    long long handedOver_ = 0;
    long long heldBytes_ = 0;
    int checks_ = 0;
};

}  // namespace ovelsk::aprs
