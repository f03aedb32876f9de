#pragma once
// Frames handed to a TNC reach it within kTransmitDeadline or never: a frame
// that goes on the air late (a TNC that stopped reading for 20 s and then took
// everything at once) is worse than none, since its position is old and the
// station it was gated for may have moved on or repeated it meanwhile.
//
// While frames wait, the link is checked every second. A frame still waiting at
// the fifth check after it was handed over (4 to 5 s later, never more) has all
// that waits thrown away with it: a TCP connection is reset, a serial device's
// output flushed, and the count logged.
//
// What "waiting" can mean is limited by what this side sees: our own buffer and
// the system's queue of bytes the peer has not yet acknowledged or the device
// has not yet sent. Bytes the peer's system took but the TNC program has not read
// (a TNC on loopback TCP that stopped reading still has its kernel acknowledge
// up to its receive buffer), or a hardware TNC's own buffer, are out of sight
// and cannot be taken back. Nor can KISS abort a frame: when the TNC has already
// read the start of a frame that is thrown away, it ends that frame at the next
// frame's first byte (Direwolf transmits it cut short from a serial line, and
// forgets it with a reset TCP connection).

#include <chrono>
#include <deque>
#include <memory>
#include <string_view>

#include "feeds/feed_connection.h"
#include "feeds/feed_timer.h"

namespace ovelsk::aprs {

inline constexpr std::chrono::seconds kTransmitDeadline{5};
inline constexpr std::chrono::seconds kTransmitCheckInterval{1};

class TransmitDeadline {
public:
    TransmitDeadline(FeedConnection& connection, std::unique_ptr<FeedTimer> check);

    // Hands one frame to the connection; false, and nothing kept, when it does not take it.
    bool send(std::string_view frame);
    // The link was lost: nothing it held waits any more.
    void forget();

private:
    struct Waiting {
        long long end;    // the count of bytes handed over once this frame is
        int handedAt;     // the check count when it was handed over
    };

    void check();

    FeedConnection& connection_;
    std::unique_ptr<FeedTimer> timer_;
    std::deque<Waiting> waiting_;
    long long handedOver_ = 0;
    int checks_ = 0;
};

}  // namespace ovelsk::aprs
