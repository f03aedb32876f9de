#include "gateway/internet_to_rf_gate.h"

#include <array>
#include <vector>

#include "aprs/aprs_message.h"
#include "aprs/ax25_frame.h"
#include "aprs/igate_query.h"
#include "aprs/kiss_frame.h"
#include "aprs/third_party_frame.h"
#include "feeds/log_text.h"
#include "host/settings_text.h"
#include "gateway/gateway_log.h"

namespace ovelsk::gateway {
namespace {

constexpr std::int64_t kDuplicateWindowMs = 60'000;
// A message sent again after this long is a retry (no ack came), not a copy.
constexpr std::int64_t kMessageRetryMs = 10'000;
// Packets heard on radio remembered for the duplicate rule: a minute of a very
// busy channel; past it the oldest go first.
constexpr std::size_t kMostHeardPackets = 20'000;
// Messages and courtesy positions may go out this many times as often as
// listed stations' packets.
constexpr int kMessageLimitFactor = 3;
// Senders awaiting their courtesy position: more than the highest message
// limit lets through in the default three hours.
constexpr std::size_t kMostCourtesyDue = 10000;
// Path words that keep a packet off the air: it must stay on the Internet
// (TCPXX, NOGATE, RFONLY) or was already passed from radio (qAX).
constexpr std::array<std::string_view, 4> kNoGateWords = {"TCPXX", "NOGATE", "RFONLY", "qAX"};

// "M0IGT" and "M0IGT-0" are one station; "M0IGT-7" is another.
std::string_view withoutSsidZero(std::string_view callsign) {
    return callsign.ends_with("-0") ? callsign.substr(0, callsign.size() - 2) : callsign;
}

// A packet its sender gave to APRS-IS itself, not one an iGate heard on radio:
//   W1FAR>APRS,TCPIP*,qAC,T2TEST:...
bool sentStraightToInternet(std::string_view path) {
    for (;;) {
        const auto comma = path.find(',');
        const auto element = path.substr(0, comma);
        if (element == "TCPIP*" || element == "TCPXX*") return true;
        if (comma == std::string_view::npos) return false;
        path.remove_prefix(comma + 1);
    }
}

std::string tooLongText(std::size_t bytes) {
    return "frame too long (" + std::to_string(bytes) + " bytes of information, at most " +
           std::to_string(aprs::kMaxInformationBytes) + ")";
}

// The packet went out, or would have in log mode or from a recording.
bool wentOut(GateOutcome outcome) { return outcome == GateOutcome::Sent || outcome == GateOutcome::WouldSend; }

std::string duplicateText() { return "duplicate within " + std::to_string(kDuplicateWindowMs / 1000) + " s"; }

std::int64_t minutesMs(int minutes) { return std::int64_t{minutes} * 60'000; }

// ?IGATE?: at most one answer this often each way, after a random wait of up to
// this long on radio, so that the iGates hearing a query do not answer at once.
constexpr std::int64_t kQueryAnswerIntervalMs = 5 * 60'000;
constexpr std::int64_t kMostQueryWaitMs = 30'000;
// How the iGate's own lines go to APRS-IS.
constexpr std::string_view kInternetPath = "TCPIP*";

std::string messageWhat(std::string_view sender, std::string_view addressee) {
    return "message " + std::string(sender) + " to " + std::string(addressee);
}

}  // namespace

std::string_view gateOutcomeLabel(GateOutcome outcome) {
    switch (outcome) {
    case GateOutcome::NotListed: return "not listed";
    case GateOutcome::BadHeader: return "malformed header";
    case GateOutcome::NoGatePath: return "path forbids gating";
    case GateOutcome::AlreadyThirdParty: return "already third-party";
    case GateOutcome::Query: return "a query";
    case GateOutcome::EmptyInformation: return "empty information";
    case GateOutcome::NulInInformation: return "information holds NUL";
    case GateOutcome::OwnCallsign: return "our own callsign";
    case GateOutcome::Excluded: return "excluded in igate.ini";
    case GateOutcome::AddresseeFarAway: return "addressee too far away";
    case GateOutcome::AddresseeOnInternet: return "addressee heard on the Internet";
    case GateOutcome::AddresseeNotJudged: return "addressee not judged";
    case GateOutcome::SenderOnRadio: return "sender heard on radio";
    case GateOutcome::Duplicate: return "duplicate";
    case GateOutcome::RateLimited: return "rate limit";
    case GateOutcome::TooLong: return "frame too long";
    case GateOutcome::NotConnected: return "TNC not connected";
    case GateOutcome::Held: return "held";
    case GateOutcome::HeardWhileHeld: return "heard on radio while held";
    case GateOutcome::QueryAnswered: return "query answered";
    case GateOutcome::QueryNotAnswered: return "query not answered";
    case GateOutcome::WouldSend: return "would send";
    case GateOutcome::Sent: return "sent";
    }
    return "unknown";
}

std::span<const std::string_view> reportedGateOutcomes() {
    static const std::vector<std::string_view> labels = [] {
        std::vector<std::string_view> all;
        for (int i = 0; i <= static_cast<int>(GateOutcome::Sent); ++i) {
            if (static_cast<GateOutcome>(i) != GateOutcome::Held) all.push_back(gateOutcomeLabel(static_cast<GateOutcome>(i)));
        }
        return all;
    }();
    return labels;
}

InternetToRfGate::InternetToRfGate(GateConfig config, std::filesystem::path igateIni, const Clock& clock,
                                   std::unique_ptr<aprs::FeedTimer> delayTimer,
                                   std::unique_ptr<aprs::FeedTimer> queryTimer)
    : config_(std::move(config)),
      clock_(clock),
      list_(std::move(igateIni)),
      stations_(minutesMs(config_.messages ? config_.messages->minutes : 0), config_.messages ? config_.messages->hops : 0),
      heard_(kDuplicateWindowMs, kMostHeardPackets),
      sent_(kDuplicateWindowMs),
      sentMessages_(kMessageRetryMs),
      window_(config_.perMinute, config_.perFiveMinutes),
      messageWindow_(kMessageLimitFactor * config_.perMinute, kMessageLimitFactor * config_.perFiveMinutes),
      delayTimer_(std::move(delayTimer)),
      log_(lcGate, "gate"),
      queryTimer_(std::move(queryTimer)) {}

InternetToRfGate::~InternetToRfGate() = default;

std::int64_t InternetToRfGate::nowMs() const { return wholeMilliseconds(clock_.now()); }

bool InternetToRfGate::isOwnCallsign(std::string_view callsign) const {
    return !config_.callsign.empty() &&
           equalsIgnoringCase(withoutSsidZero(callsign), withoutSsidZero(config_.callsign));
}

GateOutcome InternetToRfGate::judgeInternetPacket(std::string_view packet, bool recorded) {
    const auto arrow = packet.find('>');
    if (arrow == std::string_view::npos) return GateOutcome::NotListed;
    const std::string_view source = packet.substr(0, arrow);
    const std::int64_t now = nowMs();
    log_.flush(now);
    const std::uint64_t looksBefore = list_.looks();
    const auto parts = aprs::splitTnc2(packet);
    if (!parts) {
        // A message to a station heard on radio is logged whatever its header.
        const auto colon = packet.find(':');
        const auto message = colon == std::string_view::npos || !config_.messages
                                 ? std::nullopt
                                 : aprs::parseAprsMessage(packet.substr(colon + 1));
        if (message && stations_.onRadio(message->addressee, now))
            return logDecision(GateOutcome::BadHeader, messageWhat(source, message->addressee), "malformed header");
        if (!list_.contains(source, now)) return GateOutcome::NotListed;
        return logDecision(GateOutcome::BadHeader, std::string(source), "malformed header");
    }
    if (config_.messages && sentStraightToInternet(parts->path)) stations_.heardOnInternet(source, now);

    const auto message = aprs::parseAprsMessage(parts->information);
    if (message && isOwnCallsign(message->addressee)) {
        const auto query = aprs::splitMessageNumber(message->text);
        if (aprs::isIgateQuery(query.text)) return answerFromInternet(source, query.number, now);
    }

    if (config_.messages) {
        // An addressee the table forgot to make room may have been heard on radio.
        if (message && !aprs::isBroadcastAddressee(message->addressee) &&
            (stations_.onRadio(message->addressee, now) ||
             stations_.whereUnknown(message->addressee, now) == UnknownWhere::OnRadio))
            return judgeMessage(*parts, parts->information, message->addressee, recorded, now);
    }
    if (list_.contains(source, now)) return judgeListed(*parts, parts->information, recorded, now, looksBefore);
    if (!courtesyDue_.empty() && aprs::isPositionReport(parts->information)) {
        const auto due = courtesyDue_.find(std::string(source));
        if (due != courtesyDue_.end()) {
            const bool recent = now - due->second < minutesMs(config_.messages->minutes) && now >= due->second;
            courtesyDue_.erase(due);
            if (recent) return judgeCourtesy(*parts, parts->information, recorded, now);
        }
    }
    return GateOutcome::NotListed;
}

std::optional<GateOutcome> InternetToRfGate::commonRefusal(const aprs::Tnc2Packet& packet, std::string_view& information,
                                                           std::int64_t now, std::string& why) {
    for (const auto word : kNoGateWords) {
        if (aprs::pathHasElement(packet.path, word)) {
            why = "path has " + std::string(word);
            return GateOutcome::NoGatePath;
        }
    }
    // As on the way to the Internet, a packet ends at its first CR or LF.
    information = information.substr(0, information.find_first_of("\r\n"));
    const std::pair<bool, GateOutcome> refusals[] = {
        {information.starts_with('}'), GateOutcome::AlreadyThirdParty},
        {information.starts_with('?'), GateOutcome::Query},
        {information.empty(), GateOutcome::EmptyInformation},
        {information.find('\0') != std::string_view::npos, GateOutcome::NulInInformation},
        {isOwnCallsign(packet.source), GateOutcome::OwnCallsign},
        {list_.excludes(packet.source, now), GateOutcome::Excluded},
    };
    for (const auto& [refused, outcome] : refusals) {
        if (refused) {
            why = gateOutcomeLabel(outcome);
            return outcome;
        }
    }
    return std::nullopt;
}

GateOutcome InternetToRfGate::judgeListed(const aprs::Tnc2Packet& packet, std::string_view information, bool recorded,
                                          std::int64_t now, std::uint64_t looksBefore) {
    const std::string source(packet.source);
    const auto notSent = [&](GateOutcome outcome, const std::string& why) { return logDecision(outcome, source, why); };
    std::string why;
    if (const auto refused = commonRefusal(packet, information, now, why)) return notSent(*refused, why);
    if (heard_.contains(packet.source, packet.destination, information, now) ||
        sent_.contains(packet.source, packet.destination, information, now))
        return notSent(GateOutcome::Duplicate, duplicateText());
    if (!window_.hasRoom(now))
        return notSent(GateOutcome::RateLimited, "rate limit " + std::to_string(window_.perMinute()) + "/" +
                                                     std::to_string(window_.perFiveMinutes()));
    std::string frameInformation = thirdPartyInformationOf(packet, information);
    if (frameInformation.size() > aprs::kMaxInformationBytes)
        return notSent(GateOutcome::TooLong, tooLongText(frameInformation.size()));

    // Ovelsk also rewrites igate.ini outside beacon events (its minute timer
    // expires stations): nothing goes out on a list not looked at just now.
    if (list_.looks() == looksBefore) {
        list_.fileMayHaveChanged();
        if (!list_.contains(packet.source, now)) return GateOutcome::NotListed;
    }

    if (config_.delaySeconds > 0 && delayTimer_) {
        // The frame counts as sent while it waits, so no copy is held beside it.
        sent_.add(packet.source, packet.destination, information, now);
        window_.add(now);
        if (held_.empty())
            delayTimer_->start(std::chrono::seconds(config_.delaySeconds), [this] { releaseHeld(); });
        held_.push_back({source, std::string(packet.destination), std::string(information),
                         std::move(frameInformation), now, recorded});
        return GateOutcome::Held;
    }
    const GateOutcome outcome = transmit(frameInformation, recorded, why);
    if (!wentOut(outcome)) return notSent(outcome, why);
    sent_.add(packet.source, packet.destination, information, now);
    window_.add(now);
    return logDecision(outcome, source + ">" + std::string(packet.destination), why,
                       " (" + std::to_string(window_.inLastMinute(now)) + " of " +
                           std::to_string(window_.perMinute()) + " this minute)");
}

void InternetToRfGate::releaseHeld() {
    const std::int64_t now = nowMs();
    const std::int64_t delayMs = std::int64_t{config_.delaySeconds} * 1000;
    while (!held_.empty() && now - held_.front().heldAtMs >= delayMs) {
        const Held frame = std::move(held_.front());
        held_.pop_front();
        std::string why;
        GateOutcome outcome = GateOutcome::Sent;
        if (heard_.addedSince(frame.source, frame.destination, frame.information, frame.heldAtMs, now)) {
            outcome = GateOutcome::HeardWhileHeld;
            why = "heard on radio while held " + std::to_string(config_.delaySeconds) + " s";
        } else {
            list_.fileMayHaveChanged();
            if (!list_.contains(frame.source, now)) {
                outcome = GateOutcome::NotListed;
                why = "no longer listed";
            } else {
                outcome = transmit(frame.frameInformation, frame.recorded, why);
            }
        }
        logDecision(outcome, wentOut(outcome) ? frame.source + ">" + frame.destination : frame.source, why,
                    " after " + std::to_string(config_.delaySeconds) + " s");
    }
    if (!held_.empty()) {
        const auto wait = held_.front().heldAtMs + delayMs - now;
        delayTimer_->start(std::chrono::milliseconds(std::max<std::int64_t>(wait, 0)), [this] { releaseHeld(); });
    }
}

GateOutcome InternetToRfGate::judgeMessage(const aprs::Tnc2Packet& packet, std::string_view information,
                                           std::string_view addressee, bool recorded, std::int64_t now) {
    const std::string what = messageWhat(packet.source, addressee);
    const auto decided = [&](GateOutcome outcome, const std::string& why) { return logDecision(outcome, what, why); };
    std::string why;
    if (const auto refused = commonRefusal(packet, information, now, why)) return decided(*refused, why);
    const auto unknown = stations_.whereUnknown(addressee, now);
    if (unknown == UnknownWhere::OnRadio) return decided(GateOutcome::AddresseeNotJudged, notJudgedText(*unknown));
    if (!stations_.nearOnRadio(addressee, now))
        return decided(GateOutcome::AddresseeFarAway,
                       "addressee heard more than " + std::to_string(stations_.nearHops()) + " digipeater hops away");
    if (stations_.onInternet(addressee, now))
        return decided(GateOutcome::AddresseeOnInternet, "addressee heard on the Internet");
    if (unknown) return decided(GateOutcome::AddresseeNotJudged, notJudgedText(*unknown));
    if (stations_.onRadio(packet.source, now)) return decided(GateOutcome::SenderOnRadio, "sender heard on radio");
    if (heard_.contains(packet.source, packet.destination, information, now))
        return decided(GateOutcome::Duplicate, "another iGate sent it within " +
                                                   std::to_string(kDuplicateWindowMs / 1000) + " s");
    if (sentMessages_.contains(packet.source, {}, information, now))
        return decided(GateOutcome::Duplicate, "sent within " + std::to_string(kMessageRetryMs / 1000) + " s");
    const GateOutcome outcome = sendUnderMessageLimit(packet, information, recorded, now, why);
    if (outcome == GateOutcome::Sent) ++messagesSent_;
    if (wentOut(outcome)) {
        sentMessages_.add(packet.source, {}, information, now);
        noteCourtesyDue(packet.source, now);
    }
    return decided(outcome, why);
}

// Senders who never send a position are forgotten after the message window.
void InternetToRfGate::noteCourtesyDue(std::string_view sender, std::int64_t now) {
    if (courtesyDue_.size() >= kMostCourtesyDue) {
        const std::int64_t window = minutesMs(config_.messages->minutes);
        std::erase_if(courtesyDue_, [&](const auto& due) { return now - due.second >= window || now < due.second; });
    }
    if (courtesyDue_.size() < kMostCourtesyDue) courtesyDue_[std::string(sender)] = now;
}

GateOutcome InternetToRfGate::judgeCourtesy(const aprs::Tnc2Packet& packet, std::string_view information, bool recorded,
                                            std::int64_t now) {
    const std::string what = "position of " + std::string(packet.source);
    const auto decided = [&](GateOutcome outcome, const std::string& why) {
        return logDecision(outcome, what, why, " after its message");
    };
    std::string why;
    if (const auto refused = commonRefusal(packet, information, now, why)) return decided(*refused, why);
    if (stations_.onRadio(packet.source, now)) return decided(GateOutcome::SenderOnRadio, "sender heard on radio");
    if (heard_.contains(packet.source, packet.destination, information, now) ||
        sent_.contains(packet.source, packet.destination, information, now))
        return decided(GateOutcome::Duplicate, duplicateText());
    const GateOutcome outcome = sendUnderMessageLimit(packet, information, recorded, now, why);
    if (wentOut(outcome)) sent_.add(packet.source, packet.destination, information, now);
    return decided(outcome, why);
}

GateOutcome InternetToRfGate::sendUnderMessageLimit(const aprs::Tnc2Packet& packet, std::string_view information,
                                                    bool recorded, std::int64_t now, std::string& why) {
    if (!messageWindow_.hasRoom(now)) {
        why = "message rate limit " + std::to_string(messageWindow_.perMinute()) + "/" +
              std::to_string(messageWindow_.perFiveMinutes());
        return GateOutcome::RateLimited;
    }
    const std::string frameInformation = thirdPartyInformationOf(packet, information);
    if (frameInformation.size() > aprs::kMaxInformationBytes) {
        why = tooLongText(frameInformation.size());
        return GateOutcome::TooLong;
    }
    const GateOutcome outcome = transmit(frameInformation, recorded, why);
    if (wentOut(outcome)) messageWindow_.add(now);
    return outcome;
}

std::string InternetToRfGate::thirdPartyInformationOf(const aprs::Tnc2Packet& packet, std::string_view information) const {
    aprs::Tnc2Packet cut = packet;
    cut.information = information;
    return aprs::thirdPartyInformation(config_.callsign, cut);
}

GateOutcome InternetToRfGate::logDecision(GateOutcome outcome, const std::string& what, const std::string& why,
                                          std::string_view afterSent) {
    if (outcome == GateOutcome::Sent) {
        ++framesSent_;
        log(outcome, "sent", "sent " + what + std::string(afterSent));
    } else if (outcome == GateOutcome::WouldSend) {
        log(outcome, "would send", "would send " + what + std::string(afterSent));
    } else {
        log(outcome, "not sent: " + why, "not sent " + what + ": " + why);
    }
    return outcome;
}

std::string InternetToRfGate::notJudgedText(UnknownWhere where) const {
    const bool onRadio = where == UnknownWhere::OnRadio;
    return std::string("cannot tell whether the addressee was heard on ") + (onRadio ? "radio" : "the Internet") +
           ": the table of stations heard there was full (" +
           withThousandsSeparators(onRadio ? stations_.mostOnRadio() : stations_.mostOnInternet()) +
           ") and forgot some heard in the last " + std::to_string(stations_.windowMs() / 60'000) + " minutes";
}

GateOutcome InternetToRfGate::transmit(std::string_view frameInformation, bool recorded, std::string& why) {
    if (config_.mode != GateMode::On || recorded) return GateOutcome::WouldSend;
    const auto frame = aprs::tnc2ToAx25UiFrame(aprs::thirdPartyFrameText(config_.callsign, config_.via, frameInformation));
    // The callsign and via were checked at start-up and the length before.
    if (!frame) {
        why = "cannot be put in an AX.25 frame";
        return GateOutcome::BadHeader;
    }
    if (!transmitter_) {
        why = "no kiss feed to transmit through";
        return GateOutcome::NotConnected;
    }
    if (!transmitter_->sendKissFrame(aprs::kissDataFrame(config_.port, *frame))) {
        why = transmitter_->transmitterName() + " " + transmitter_->whyNotTaken();
        return GateOutcome::NotConnected;
    }
    return GateOutcome::Sent;
}

void InternetToRfGate::log(GateOutcome outcome, std::string_view kind, const std::string& text) {
    log_.write(nowMs(), kind, text);
    if (report_) report_(gateOutcomeLabel(outcome), text);
}

void InternetToRfGate::heardOnRadio(std::string_view packet) {
    const auto parts = aprs::splitTnc2(packet);
    if (!parts) return;
    // Our own frames, repeated by a digipeater, are not another iGate's: a retry
    // of a message must not be held back by hearing the first try.
    if (isOwnCallsign(parts->source)) return;
    const std::int64_t now = nowMs();
    log_.flush(now);
    heard_.add(parts->source, parts->destination, parts->information, now);
    if (aprs::isIgateQuery(parts->information)) queryHeardOnRadio(parts->source, now);
    const bool counts = !aprs::pathHasElement(parts->path, "NOGATE") && !aprs::pathHasElement(parts->path, "RFONLY");
    if (config_.messages && counts) {
        if (const auto forgotten = stations_.heardOnRadio(parts->source, aprs::digipeaterHopsUsed(parts->path), now)) {
            const std::string why = "the table of stations heard on radio is full (" +
                                    withThousandsSeparators(stations_.mostOnRadio()) + ")";
            log_.write(now, "forgot: " + why,
                       "forgot " + aprs::escapedForLog(forgotten->callsign) + ", heard on radio " +
                           std::to_string((now - forgotten->heardMs) / 60'000) + " minutes ago: " + why,
                       QtWarningMsg);
        }
    }
    if (!parts->information.starts_with('}')) return;
    if (const auto inner = aprs::splitTnc2(parts->information.substr(1))) {
        heard_.add(inner->source, inner->destination, inner->information, now);
        // The sender of a third-party frame from the Internet is an iGate: it
        // gets its own messages from APRS-IS.
        if (config_.messages && aprs::pathHasElement(inner->path, "TCPIP")) stations_.heardOnInternet(parts->source, now);
    }
}

std::size_t InternetToRfGate::localStations() const {
    return config_.messages ? stations_.messageReachable(nowMs()) : 0;
}

bool InternetToRfGate::answeredWithin(const std::optional<std::int64_t>& answeredMs, std::int64_t now) const {
    return answeredMs && now - *answeredMs < kQueryAnswerIntervalMs && now >= *answeredMs;
}

void InternetToRfGate::queryHeardOnRadio(std::string_view asker, std::int64_t now) {
    if (config_.mode != GateMode::On || !queryTimer_) return;
    const std::string what = "?IGATE? of " + std::string(asker) + " on radio";
    if (radioAnswerWaiting_)
        return log(GateOutcome::QueryNotAnswered, "not answered ?IGATE?: waiting", "not answered " + what + ": an answer is already waiting");
    if (answeredWithin(answeredOnRadioMs_, now))
        return log(GateOutcome::QueryNotAnswered, "not answered ?IGATE?: answered", "not answered " + what + ": answered on radio within 5 min");
    radioAnswerWaiting_ = true;
    std::uniform_int_distribution<std::int64_t> wait(0, kMostQueryWaitMs);
    queryTimer_->start(std::chrono::milliseconds(wait(random_)), [this, asker = std::string(asker)] { answerOnRadio(asker); });
}

void InternetToRfGate::answerOnRadio(const std::string& asker) {
    radioAnswerWaiting_ = false;
    const std::int64_t now = nowMs();
    const std::string what = "?IGATE? of " + asker + " on radio";
    if (!messageWindow_.hasRoom(now))
        return log(GateOutcome::QueryNotAnswered, "not answered ?IGATE?: rate limit", "not answered " + what + ": message rate limit " +
                                                      std::to_string(messageWindow_.perMinute()) + "/" +
                                                      std::to_string(messageWindow_.perFiveMinutes()));
    const std::string capabilities = aprs::igateCapabilities(messagesSent_, localStations());
    std::string why;
    if (transmit(capabilities, false, why) != GateOutcome::Sent)
        return log(GateOutcome::QueryNotAnswered, "not answered ?IGATE?: " + why, "not answered " + what + ": " + why);
    messageWindow_.add(now);
    answeredOnRadioMs_ = now;
    log(GateOutcome::QueryAnswered, "answered ?IGATE?", "answered " + what + ": " + capabilities);
}

GateOutcome InternetToRfGate::answerFromInternet(std::string_view asker, std::string_view number, std::int64_t now) {
    if (config_.mode != GateMode::On) return GateOutcome::NotListed;
    const std::string what = "?IGATE? of " + std::string(asker) + " on APRS-IS";
    const auto notAnswered = [&](const std::string& why) {
        log(GateOutcome::QueryNotAnswered, "not answered ?IGATE?: " + why, "not answered " + what + ": " + why);
        return GateOutcome::QueryNotAnswered;
    };
    if (!uplink_ || !uplink_->loginVerified()) return notAnswered("the APRS-IS login is not verified");
    const auto send = [&](std::string_view text) {
        return uplink_->sendPacketLine(
            aprs::thirdPartyFrameText(config_.callsign, kInternetPath, aprs::aprsMessageInformation(asker, text)));
    };
    // A numbered query is acked even when not answered, so its sender stops retrying.
    if (!number.empty() && !send("ack" + std::string(number)))
        return notAnswered("no connection to the APRS-IS server");
    if (answeredWithin(answeredToInternetMs_, now)) return notAnswered("answered on APRS-IS within 5 min");
    const std::string capabilities = aprs::igateCapabilities(messagesSent_, localStations());
    if (!send(capabilities)) return notAnswered("no connection to the APRS-IS server");
    answeredToInternetMs_ = now;
    log(GateOutcome::QueryAnswered, "answered ?IGATE?", "answered " + what + ": " + capabilities);
    return GateOutcome::QueryAnswered;
}

}  // namespace ovelsk::gateway
