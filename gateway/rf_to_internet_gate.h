#pragma once
// The iGate's radio-to-Internet half: every packet a live TNC heard goes to the
// APRS-IS server under an iGate's rules (aprs/rf_to_internet.h), digipeated
// copies too (the servers drop duplicates themselves and learn from the copies
// who heard whom), and only while the server has verified the login; without
// that, one line says so and nothing is gated. Nothing is kept for later: a
// packet heard while the server is away is not sent. Every packet is logged in
// one line, in ovelsk.igate, but past ten of one kind in a minute the rest are
// summed up (decision_log.h):
//   igate: sent N0CALL-9>APRS,WIDE1-1*,qAR,N0CALL-10:!4903.50N/07201.75W-
//   igate: not sent N0CALL>APRS,NOGATE:>x: path holds NOGATE
//   igate: not sent N0CALL>APRS:>x: the queue to the APRS-IS server is full

#include <span>
#include <string>
#include <string_view>

#include "aprs/rf_to_internet.h"
#include "feeds/aprs_is_uplink.h"
#include "gateway/decision_log.h"
#include "gateway/gate_decisions.h"
#include "host/date_time.h"

namespace ovelsk::gateway {

// Every outcome it reports: sent, each reason of aprs/rf_to_internet.h, no
// connection and a full queue.
std::span<const std::string_view> internetGateOutcomes();
// The outcome of a packet that went to the server.
inline constexpr std::string_view kSentToInternet = "sent";

class RadioToInternetGate {
public:
    // Gates as `callsign` through `server`, whose login used `passcode`; `kind`
    // says whether this iGate also transmits to radio. The log's minutes are
    // read off `clock`.
    RadioToInternetGate(std::string callsign, int passcode, aprs::IgateKind kind, aprs::AprsIsUplink& server,
                        const Clock& clock);

    void heardOnRadio(std::string_view packet);
    // Told of every decision it logs.
    void setDecisionReport(GateDecisionReport report) { report_ = std::move(report); }

private:
    bool loginAllowsGating();
    // The one place a decision is logged and reported; `kind` as in decision_log.h.
    void log(std::size_t outcome, std::string_view kind, const std::string& text);

    std::string callsign_;
    int passcode_;
    aprs::IgateKind kind_;
    aprs::AprsIsUplink& server_;
    const Clock& clock_;
    DecisionLog log_;
    bool toldWhyNotGating_ = false;
    GateDecisionReport report_;
};

}  // namespace ovelsk::gateway
