#pragma once
// Sends the iGate's own position report (aprs/igate_beacon.h) to APRS-IS once
// the server has verified the login, and again every interval; with a TNC, it
// also transmits it on the air each time:
//   to APRS-IS:  N0CALL-10>APZOVL,TCPIP*:!4000.90NT10516.23W&Ovelsk iGate
//   on the air:  N0CALL-10>APZOVL,WIDE1-1:!4000.90NT10516.23W&Ovelsk iGate
// A beacon the server could not take (the login not verified at that moment)
// goes as soon as it verifies one; one the TNC could not take waits for the next
// interval. Each beacon is one line in ovelsk.gate:
//   gate: beacon sent to APRS-IS
//   gate: beacon not sent to RF: kiss:localhost:8001 is not connected

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "feeds/aprs_is_uplink.h"
#include "feeds/feed_timer.h"
#include "feeds/kiss_transmitter.h"

namespace ovelsk::gateway {

struct BeaconPlan {
    std::string information;                 // the position report
    std::chrono::minutes interval{30};
    aprs::AprsIsUplink* uplink = nullptr;          // nullptr: the beacon does not go to APRS-IS
    std::string loginCallsign;               // the source there
    aprs::KissTransmitter* transmitter = nullptr;  // nullptr: it is not transmitted
    std::string radioCallsign;               // the source on the air, an AX.25 address
    std::string via;                         // the digipeater path on the air; empty for none
    int port = 0;                            // the TNC's radio port
};

class BeaconSender {
public:
    BeaconSender(const BeaconPlan& plan, std::unique_ptr<aprs::FeedTimer> timer);
    ~BeaconSender();
    BeaconSender(const BeaconSender&) = delete;
    BeaconSender& operator=(const BeaconSender&) = delete;

    // Waits for the login to be verified and starts the interval.
    void start();

private:
    void onLoginVerified();
    void beaconNow();
    void sendToInternetIfDue();
    void sendToRadio();

    aprs::AprsIsUplink* uplink_;
    std::string internetLine_;
    aprs::KissTransmitter* transmitter_;
    std::optional<std::string> kissFrame_;  // nothing when the packet fits no AX.25 frame
    std::chrono::minutes interval_;
    std::unique_ptr<aprs::FeedTimer> timer_;
    bool internetDue_ = true;
    bool started_ = false;  // the first beacon went, or was due
};

}  // namespace ovelsk::gateway
