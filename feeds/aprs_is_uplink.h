#pragma once
// Where Ovelsk hands a packet line for APRS-IS: a server it is logged in to.
// The APRS-IS feed is one.

#include <functional>
#include <string>
#include <string_view>

namespace ovelsk::aprs {

// Why a packet line was not taken.
enum class UplinkRefusal {
    NotConnected,
    QueueFull,  // connected, but what was sent before still waits: the server or the way to it is behind
};

class AprsIsUplink {
public:
    virtual ~AprsIsUplink() = default;
    // The server answered this connection's login with "verified"; only then
    // does it take packets from us.
    virtual bool loginVerified() const = 0;
    // Called, with the others added, each time the server verifies a login, on
    // every connection. A handler is kept as long as the uplink.
    virtual void addLoginVerifiedHandler(std::function<void()> handler) = 0;
    // Sends one packet line (without its line end) now, every byte as given,
    // NUL included. False, and nothing kept for later, when not connected, when
    // too much sent before still waits, or when the line holds CR or LF.
    virtual bool sendPacketLine(std::string_view line) = 0;
    // Why a line without CR or LF was just refused.
    virtual UplinkRefusal whyNotTaken() const = 0;
    // The feed's name for the log, "aprs-is:rotate.aprs2.net:14580".
    virtual const std::string& uplinkName() const = 0;
};

}  // namespace ovelsk::aprs
