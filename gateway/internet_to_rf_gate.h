#pragma once
// The gateway to radio: passes Internet packets to radio as third-party frames
// through the KISS TNC, for three reasons:
//   - the source is listed in igate.ini (exact match, SSID and letter case included);
//   - it is a message to a station heard on radio lately and nearby, and not on
//     the Internet (Gate Messages);
//   - it is the next position report of a station whose message just went out
//     (the courtesy position, so the radio user sees who wrote).
// A TNC checks nothing its client sends, so every rule of an iGate is kept here:
//   - no path element is TCPXX, NOGATE, RFONLY or qAX; the information is not
//     already third-party ("}"), a query ("?"), empty, or holding NUL (it is cut
//     at the first CR or LF); the source is not our own callsign with its SSID
//     (letter case aside; the operator's other SSIDs are stations like any
//     other); igate.ini's [EXCLUDE] does not name the source;
//   - the same packet was neither sent nor heard on radio in the last 60 s; a
//     message is sent again after 10 s (a retry: no ack came), but not when
//     another iGate was heard sending it in the last 60 s;
//   - fewer than the limits went out in the last minute and five minutes;
//     messages and courtesy positions have their own limits, three times as high,
//     so listed stations never starve a message;
//   - the frame's information fits in 256 bytes.
// A listed station's frame may wait Gate Delay seconds and is dropped when
// another iGate sends it meanwhile. Before anything goes out, igate.ini is
// looked at once more.
// With Gate To RF=on it answers the general query ?IGATE? (aprs/igate_query.h):
// heard on radio, on radio after a random wait of up to 30 s, under the message
// limit; sent to its own callsign from APRS-IS, to the asker there. At most one
// answer every 5 minutes each way.
// Every decision about a listed station, about a message to a station heard on
// radio, about a courtesy position and about a query is logged:
//   gate: sent K0ABC-9>APRS (2 of 6 this minute)
//   gate: not sent K0ABC-9: duplicate within 60 s
//   gate: sent message W1FAR to M1LOC-7
//   gate: not sent message W1FAR to M1LOC-7: addressee heard on the Internet
//   gate: answered ?IGATE? of M1LOC-7 on radio: <IGATE,MSG_CNT=1,LOC_CNT=4
// Past ten lines of one kind in a minute, the rest are summed up (decision_log.h).
// A message to a station the heard-stations table cannot judge, since it was
// full and forgot some, is not sent, and logged with that reason.

#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "aprs/tnc2_packet.h"
#include "feeds/aprs_is_uplink.h"
#include "feeds/feed_timer.h"
#include "feeds/kiss_transmitter.h"
#include "host/date_time.h"
#include "gateway/gate_config.h"
#include "gateway/gate_decisions.h"
#include "gateway/gate_history.h"
#include "gateway/decision_log.h"
#include "gateway/gate_list.h"
#include "gateway/heard_stations.h"

namespace ovelsk::gateway {

enum class GateOutcome {
    NotListed,          // none of the three reasons to gate it; not logged
    BadHeader,
    NoGatePath,         // TCPXX, NOGATE, RFONLY or qAX in the path
    AlreadyThirdParty,
    Query,
    EmptyInformation,   // nothing before the first CR or LF
    NulInInformation,
    OwnCallsign,
    Excluded,           // named in igate.ini's [EXCLUDE]
    AddresseeFarAway,   // heard on radio, but through more digipeaters than Gate Messages allows
    AddresseeOnInternet,
    AddresseeNotJudged, // the heard-stations table was full and may have forgotten it
    SenderOnRadio,      // the sender can reach the addressee itself
    Duplicate,
    RateLimited,
    TooLong,
    NotConnected,       // the TNC was not there; nothing is kept for later
    Held,               // waiting Gate Delay seconds; the decision is logged when the wait ends
    HeardWhileHeld,     // another iGate sent it during the wait
    QueryAnswered,      // ?IGATE? answered, on radio or to APRS-IS
    QueryNotAnswered,
    WouldSend,          // in log mode, or recorded traffic
    Sent,
};

// "duplicate", "rate limit", ...: a short name of each outcome.
std::string_view gateOutcomeLabel(GateOutcome outcome);
// The label of every outcome that is logged: all but Held.
std::span<const std::string_view> reportedGateOutcomes();

class InternetToRfGate {
public:
    // `config.mode` is Log or On; `igateIni` is where the list is read from.
    // `delayTimer` runs Gate Delay's waits; needed only when that is set.
    // `queryTimer` runs the random wait before a ?IGATE? heard on radio is
    // answered; without it such queries are not answered.
    InternetToRfGate(GateConfig config, std::filesystem::path igateIni, const Clock& clock,
                     std::unique_ptr<aprs::FeedTimer> delayTimer = nullptr,
                     std::unique_ptr<aprs::FeedTimer> queryTimer = nullptr);
    ~InternetToRfGate();

    // The TNC gated frames go out through; needed in On mode.
    void setTransmitter(aprs::KissTransmitter* transmitter) { transmitter_ = transmitter; }
    // The APRS-IS server ?IGATE? queries from there are answered through.
    void setUplink(aprs::AprsIsUplink* uplink) { uplink_ = uplink; }
    // Told of every decision it logs.
    void setDecisionReport(GateDecisionReport report) { report_ = std::move(report); }

    // Decides on one Internet packet and, where all rules hold and it is live
    // traffic in On mode, transmits it (or holds it for Gate Delay). Recorded
    // traffic is decided as in Log mode and never transmitted.
    GateOutcome judgeInternetPacket(std::string_view packet, bool recorded);

    // A packet a live TNC heard on radio: its source was heard (with the hops it
    // used), and the same packet from the Internet, or the packet inside a
    // third-party frame another iGate sent, is a duplicate for 60 s.
    void heardOnRadio(std::string_view packet);

    GateList& list() { return list_; }
    const HeardStations& heardStations() const { return stations_; }

    // Frames and, among them, messages transmitted since start.
    std::uint64_t framesSent() const { return framesSent_; }
    std::uint64_t messagesSent() const { return messagesSent_; }
    // The stations a message would be passed to now.
    std::size_t localStations() const;

private:
    // The one place a decision is logged, "gate: " and `text`, and reported;
    // `kind` is what the log's summary of a flood counts (decision_log.h).
    void log(GateOutcome outcome, std::string_view kind, const std::string& text);

    struct Held {
        std::string source, destination, information;  // the Internet packet
        std::string frameInformation;                   // what goes on the air
        std::int64_t heldAtMs;
        bool recorded;
    };

    GateOutcome judgeListed(const aprs::Tnc2Packet& packet, std::string_view information, bool recorded,
                            std::int64_t now, std::uint64_t looksBefore);
    GateOutcome judgeMessage(const aprs::Tnc2Packet& packet, std::string_view information, std::string_view addressee,
                             bool recorded, std::int64_t now);
    GateOutcome judgeCourtesy(const aprs::Tnc2Packet& packet, std::string_view information, bool recorded,
                              std::int64_t now);
    // The rules every gated packet obeys, whatever the reason; and the cut information.
    std::optional<GateOutcome> commonRefusal(const aprs::Tnc2Packet& packet, std::string_view& information,
                                             std::int64_t now, std::string& why);
    // Messages' and courtesy positions' own rate limit, the fit and the transmission.
    GateOutcome sendUnderMessageLimit(const aprs::Tnc2Packet& packet, std::string_view information, bool recorded,
                                      std::int64_t now, std::string& why);
    // Why a message's addressee cannot be judged.
    std::string notJudgedText(UnknownWhere where) const;
    void noteCourtesyDue(std::string_view sender, std::int64_t now);
    // The third-party information for `packet` with its information cut to `information`.
    std::string thirdPartyInformationOf(const aprs::Tnc2Packet& packet, std::string_view information) const;
    // Logs "sent WHAT[AFTER]", "would send WHAT[AFTER]" or "not sent WHAT: WHY", and returns the outcome.
    GateOutcome logDecision(GateOutcome outcome, const std::string& what, const std::string& why,
                            std::string_view afterSent = {});
    GateOutcome transmit(std::string_view frameInformation, bool recorded, std::string& why);
    void releaseHeld();
    // ?IGATE?: heard on radio, answered there after a random wait; or a message
    // to us from APRS-IS, answered there with a message (and an ack when numbered).
    void queryHeardOnRadio(std::string_view asker, std::int64_t now);
    void answerOnRadio(const std::string& asker);
    GateOutcome answerFromInternet(std::string_view asker, std::string_view number, std::int64_t now);
    bool answeredWithin(const std::optional<std::int64_t>& answeredMs, std::int64_t now) const;
    std::int64_t nowMs() const;
    bool isOwnCallsign(std::string_view callsign) const;

    GateConfig config_;
    const Clock& clock_;
    GateList list_;
    HeardStations stations_;
    RecentPackets heard_;         // on radio, the last 60 s
    RecentPackets sent_;          // by us, the last 60 s
    RecentPackets sentMessages_;  // messages by us, the last 10 s
    SendWindow window_;
    SendWindow messageWindow_;
    // Senders whose message went out, until their next position report.
    std::unordered_map<std::string, std::int64_t> courtesyDue_;
    std::deque<Held> held_;
    std::unique_ptr<aprs::FeedTimer> delayTimer_;
    aprs::KissTransmitter* transmitter_ = nullptr;
    aprs::AprsIsUplink* uplink_ = nullptr;
    GateDecisionReport report_;
    DecisionLog log_;
    std::uint64_t framesSent_ = 0;
    std::uint64_t messagesSent_ = 0;
    std::unique_ptr<aprs::FeedTimer> queryTimer_;
    std::mt19937 random_{std::random_device{}()};
    bool radioAnswerWaiting_ = false;
    std::optional<std::int64_t> answeredOnRadioMs_;
    std::optional<std::int64_t> answeredToInternetMs_;
};

}  // namespace ovelsk::gateway
