#pragma once
// A feed delivers TNC2 packet lines as they arrive, each with the host's source
// number: 100 for the Internet stream, the radio port number otherwise.

#include <cstdint>
#include <functional>
#include <string_view>

namespace ovelsk::aprs {

// The number a feed gives packets from the Internet stream; the host passes it on
// as the station's source number.
inline constexpr std::int16_t kInternetChannel = 100;

using PacketSink = std::function<void(std::int16_t sourceNumber, std::string_view packet)>;

class Feed {
public:
    virtual ~Feed() = default;
    // Starts delivering to the sink on the event loop; returns at once.
    virtual void start() = 0;
};

}  // namespace ovelsk::aprs
