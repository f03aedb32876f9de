#pragma once
// A feed delivers TNC2 packet lines as they arrive, each with the host's source
// number: 100 for the Internet stream, the radio port number otherwise.

#include <cstdint>
#include <functional>
#include <string_view>

namespace ovelsk::aprs {

using PacketSink = std::function<void(std::int16_t sourceNumber, std::string_view packet)>;

class Feed {
public:
    virtual ~Feed() = default;
    // Starts delivering to the sink on the event loop; returns at once.
    virtual void start() = 0;
};

}  // namespace ovelsk::aprs
