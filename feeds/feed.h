#pragma once
// A feed delivers TNC2 packet lines as they arrive, each with the host's source
// number: 100 for the Internet stream, the radio port number otherwise. A feed
// that reaches a TNC may also offer it for transmitting, one logged in to an
// APRS-IS server the server for sending.

#include <cstdint>
#include <functional>
#include <string_view>

#include "feeds/feed_status.h"

namespace ovelsk::aprs {

// The number a feed gives packets from the Internet stream; the host passes it on
// as the station's source number.
inline constexpr std::int16_t kInternetChannel = 100;

using PacketSink = std::function<void(std::int16_t sourceNumber, std::string_view packet)>;

// Where a feed's packets come from, which decides what the gateway may do with
// them: only live Internet traffic is ever passed to radio, and only a live TNC
// tells what the radio channel carried.
enum class FeedOrigin {
    Internet,  // a live APRS-IS server
    Radio,     // a live TNC
    Recorded,  // replayed traffic, Internet and radio alike
};

class AprsIsUplink;
class KissTransmitter;

class Feed {
public:
    virtual ~Feed() = default;
    // Starts delivering to the sink on the event loop; returns at once.
    virtual void start() = 0;
    // The TNC this feed can transmit through, or nullptr.
    virtual KissTransmitter* transmitter() { return nullptr; }
    // The APRS-IS server this feed is logged in to, or nullptr.
    virtual AprsIsUplink* uplink() { return nullptr; }
    // Where the feed stands now, for a status view.
    virtual FeedStatus status() const = 0;
};

}  // namespace ovelsk::aprs
