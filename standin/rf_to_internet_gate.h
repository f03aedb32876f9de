#pragma once
// The iGate's radio-to-Internet half: every packet a live TNC heard goes to the
// APRS-IS server under an iGate's rules (aprs/rf_to_internet.h), the same packet
// at most once in 30 s (digipeated copies), and only while the server has
// verified the login; without that, one line says so and nothing is gated.
// Every packet is logged in one line, in ovelsk.igate:
//   igate: sent N0CALL-9>APRS,WIDE1-1*,qAR,N0CALL-10:!4903.50N/07201.75W-
//   igate: not sent N0CALL>APRS,NOGATE:>x: path holds NOGATE

#include <chrono>
#include <span>
#include <string>
#include <string_view>

#include "feeds/aprs_is_uplink.h"
#include "host/date_time.h"
#include "standin/gate_decisions.h"
#include "standin/gate_history.h"

namespace ovelsk::aprs {

inline constexpr std::chrono::seconds kInternetDuplicateWindow{30};

// Every outcome it reports: sent, each reason of aprs/rf_to_internet.h, a
// duplicate, and no connection.
std::span<const std::string_view> internetGateOutcomes();

class RadioToInternetGate {
public:
    // Gates as `callsign` through `server`, whose login used `passcode`.
    RadioToInternetGate(std::string callsign, int passcode, AprsIsUplink& server, const Clock& clock);

    void heardOnRadio(std::string_view packet);
    // Told of every decision it logs.
    void setDecisionReport(GateDecisionReport report) { report_ = std::move(report); }

private:
    bool loginAllowsGating();

    std::string callsign_;
    int passcode_;
    AprsIsUplink& server_;
    const Clock& clock_;
    RecentPackets sent_;
    bool toldWhyNotGating_ = false;
    GateDecisionReport report_;
};

}  // namespace ovelsk::aprs
