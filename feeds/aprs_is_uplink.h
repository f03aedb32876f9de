#pragma once
// Where Ovelsk hands a packet line for APRS-IS: a server it is logged in to.
// The APRS-IS feed is one.

#include <string>
#include <string_view>

namespace ovelsk::aprs {

class AprsIsUplink {
public:
    virtual ~AprsIsUplink() = default;
    // The server answered this connection's login with "verified"; only then
    // does it take packets from us.
    virtual bool loginVerified() const = 0;
    // Sends one packet line (without its line end) now. False, and nothing kept
    // for later, when not connected or the line holds CR, LF or NUL.
    virtual bool sendPacketLine(std::string_view line) = 0;
    // The feed's name for the log, "aprs-is:rotate.aprs2.net:14580".
    virtual const std::string& uplinkName() const = 0;
};

}  // namespace ovelsk::aprs
