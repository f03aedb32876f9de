#pragma once
// Where Ovelsk hands a frame to put on the air: a TNC that takes KISS frames.
// The KISS-over-TCP feed is one; any other link to a TNC can be another.

#include <string>
#include <string_view>

namespace ovelsk::aprs {

class KissTransmitter {
public:
    virtual ~KissTransmitter() = default;
    // Sends one whole KISS frame (FEND to FEND) to the TNC now. False, and
    // nothing kept for later, when the TNC is not connected or not taking what
    // it is sent; a frame taken is dropped if the TNC does not read it in time.
    virtual bool sendKissFrame(std::string_view frame) = 0;
    // The feed's name for the log, "kiss:localhost:8001".
    virtual const std::string& transmitterName() const = 0;
    // Why a frame was just refused, to follow the name in the log.
    virtual std::string whyNotTaken() const { return "is not connected"; }
};

}  // namespace ovelsk::aprs
