#pragma once
// The gateway: passes the Internet packets of the stations listed in igate.ini
// to radio, as third-party frames through the KISS TNC. A TNC checks nothing
// its client sends, so every rule of an iGate is kept here, in this order:
//   1. the source is listed (exact match, SSID and letter case included);
//   2. no path element is TCPXX, NOGATE, RFONLY or qAX; the information is not
//      already third-party ("}") or a query ("?"); the source's base callsign
//      is not our own;
//   3. the same source, destination and information were neither sent nor
//      heard on radio in the last 60 s;
//   4. fewer than the limits went out in the last minute and five minutes;
//   5. the frame's information fits in 256 bytes.
// Before anything goes out, igate.ini is looked at once more. Every decision
// about a listed station is logged, one line each:
//   gate: sent K0ABC-9>APRS (2 of 6 this minute)
//   gate: not sent K0ABC-9: duplicate within 60 s

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "feeds/kiss_transmitter.h"
#include "host/date_time.h"
#include "standin/gate_config.h"
#include "standin/gate_decisions.h"
#include "standin/gate_history.h"
#include "standin/gate_list.h"

namespace ovelsk::aprs {

enum class GateOutcome {
    NotListed,          // not logged
    BadHeader,
    NoGatePath,         // TCPXX, NOGATE, RFONLY or qAX in the path
    AlreadyThirdParty,
    Query,
    OwnCallsign,
    Duplicate,
    RateLimited,
    TooLong,
    NotConnected,       // the TNC was not there; nothing is kept for later
    WouldSend,          // in log mode, or recorded traffic
    Sent,
};

std::string_view gateOutcomeLabel(GateOutcome outcome);
// Every outcome that is reported, NotListed aside.
std::span<const std::string_view> reportedGateOutcomes();

class InternetToRfGate {
public:
    // `config.mode` is Log or On; `igateIni` is where the list is read from.
    InternetToRfGate(GateConfig config, std::filesystem::path igateIni, const Clock& clock);

    // The TNC gated frames go out through; needed in On mode.
    void setTransmitter(KissTransmitter* transmitter) { transmitter_ = transmitter; }
    // Told of every decision it logs.
    void setDecisionReport(GateDecisionReport report) { report_ = std::move(report); }

    // Decides on one Internet packet and, where all rules hold and it is live
    // traffic in On mode, transmits it. Recorded traffic is decided as in Log
    // mode and never transmitted.
    GateOutcome judgeInternetPacket(std::string_view packet, bool recorded);

    // A packet a live TNC heard on radio (and, for a third-party frame, the
    // packet inside): the same packet from the Internet is a duplicate for 60 s.
    void heardOnRadio(std::string_view packet);

    GateList& list() { return list_; }

private:
    GateOutcome decide(std::string_view packet, bool recorded, std::string_view source, std::int64_t nowMs,
                       std::uint64_t looksBefore);
    std::int64_t nowMs() const;
    void log(GateOutcome outcome, const std::string& message);

    GateConfig config_;
    const Clock& clock_;
    GateList list_;
    RecentPackets recent_;
    SendWindow window_;
    KissTransmitter* transmitter_ = nullptr;
    GateDecisionReport report_;
};

}  // namespace ovelsk::aprs
