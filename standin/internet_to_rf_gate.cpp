#include "standin/internet_to_rf_gate.h"

#include <array>

#include "aprs/ax25_frame.h"
#include "aprs/kiss_frame.h"
#include "aprs/third_party_frame.h"
#include "aprs/tnc2_packet.h"
#include "standin/standin_log.h"

namespace ovelsk::aprs {
namespace {

constexpr std::int64_t kDuplicateWindowMs = 60'000;
// Path words that keep a packet off the air: it must stay on the Internet
// (TCPXX, NOGATE, RFONLY) or was already passed from radio (qAX).
constexpr std::array<std::string_view, 4> kNoGateWords = {"TCPXX", "NOGATE", "RFONLY", "qAX"};

std::string_view baseCallsign(std::string_view callsign) { return callsign.substr(0, callsign.find('-')); }

// In the order of GateOutcome.
constexpr std::array<std::string_view, 12> kOutcomeLabels = {
    "not listed", "malformed header", "never-gate path", "already third-party", "query", "own callsign",
    "duplicate", "rate limited", "too long", "not connected", "would send", "sent"};
static_assert(kOutcomeLabels.size() == static_cast<std::size_t>(GateOutcome::Sent) + 1);

}  // namespace

std::string_view gateOutcomeLabel(GateOutcome outcome) { return kOutcomeLabels[static_cast<std::size_t>(outcome)]; }

std::span<const std::string_view> reportedGateOutcomes() { return std::span(kOutcomeLabels).subspan(1); }

InternetToRfGate::InternetToRfGate(GateConfig config, std::filesystem::path igateIni, const Clock& clock)
    : config_(std::move(config)),
      clock_(clock),
      list_(std::move(igateIni)),
      recent_(kDuplicateWindowMs),
      window_(config_.perMinute, config_.perFiveMinutes) {}

std::int64_t InternetToRfGate::nowMs() const { return wholeMilliseconds(clock_.now()); }

GateOutcome InternetToRfGate::judgeInternetPacket(std::string_view packet, bool recorded) {
    const auto arrow = packet.find('>');
    if (arrow == std::string_view::npos) return GateOutcome::NotListed;
    const std::string_view source = packet.substr(0, arrow);
    const std::int64_t now = nowMs();
    const std::uint64_t looksBefore = list_.looks();
    if (!list_.contains(source, now)) return GateOutcome::NotListed;
    return decide(packet, recorded, source, now, looksBefore);
}

GateOutcome InternetToRfGate::decide(std::string_view packet, bool recorded, std::string_view source,
                                     std::int64_t now, std::uint64_t looksBefore) {
    const auto notSent = [&](GateOutcome outcome, std::string_view why) {
        log(outcome, "not sent " + std::string(source) + ": " + std::string(why));
        return outcome;
    };

    const auto parts = splitTnc2(packet);
    if (!parts) return notSent(GateOutcome::BadHeader, "malformed header");
    for (const auto word : kNoGateWords) {
        if (pathHasElement(parts->path, word)) return notSent(GateOutcome::NoGatePath, "path has " + std::string(word));
    }
    if (parts->information.starts_with('}')) return notSent(GateOutcome::AlreadyThirdParty, "already third-party");
    if (parts->information.starts_with('?')) return notSent(GateOutcome::Query, "a query");
    if (!config_.callsign.empty() && baseCallsign(source) == baseCallsign(config_.callsign))
        return notSent(GateOutcome::OwnCallsign, "our own callsign");
    if (recent_.contains(parts->source, parts->destination, parts->information, now))
        return notSent(GateOutcome::Duplicate, "duplicate within " + std::to_string(kDuplicateWindowMs / 1000) + " s");
    if (!window_.hasRoom(now))
        return notSent(GateOutcome::RateLimited, "rate limit " + std::to_string(window_.perMinute()) + "/" +
                                                     std::to_string(window_.perFiveMinutes()));
    const std::string information = thirdPartyInformation(config_.callsign, *parts);
    if (information.size() > kMaxInformationBytes)
        return notSent(GateOutcome::TooLong, "frame too long (" + std::to_string(information.size()) +
                                                 " bytes of information, at most " +
                                                 std::to_string(kMaxInformationBytes) + ")");

    // Ovelsk also rewrites igate.ini outside beacon events (its minute timer
    // expires stations): nothing goes out on a list not looked at just now.
    if (list_.looks() == looksBefore) {
        list_.fileMayHaveChanged();
        if (!list_.contains(source, now)) return GateOutcome::NotListed;
    }

    const bool transmit = config_.mode == GateMode::On && !recorded;
    if (transmit) {
        const auto frame = tnc2ToAx25UiFrame(thirdPartyFrameText(config_.callsign, config_.via, information));
        // The callsign and via were checked at start-up and the length just now.
        if (!frame) return notSent(GateOutcome::BadHeader, "cannot be put in an AX.25 frame");
        if (!transmitter_) return notSent(GateOutcome::NotConnected, "no kiss feed to transmit through");
        if (!transmitter_->sendKissFrame(kissDataFrame(config_.port, *frame)))
            return notSent(GateOutcome::NotConnected, transmitter_->transmitterName() + " is not connected");
    }
    recent_.add(parts->source, parts->destination, parts->information, now);
    window_.add(now);
    const GateOutcome outcome = transmit ? GateOutcome::Sent : GateOutcome::WouldSend;
    log(outcome, std::string(transmit ? "sent " : "would send ") + std::string(parts->source) + ">" +
        std::string(parts->destination) + " (" + std::to_string(window_.inLastMinute(now)) + " of " +
        std::to_string(window_.perMinute()) + " this minute)");
    return outcome;
}

void InternetToRfGate::log(GateOutcome outcome, const std::string& message) {
    qCInfo(lcGate, "gate: %s", message.c_str());
    if (report_) report_(gateOutcomeLabel(outcome), message);
}

void InternetToRfGate::heardOnRadio(std::string_view packet) {
    const auto parts = splitTnc2(packet);
    if (!parts) return;
    const std::int64_t now = nowMs();
    recent_.add(parts->source, parts->destination, parts->information, now);
    if (!parts->information.starts_with('}')) return;
    if (const auto inner = splitTnc2(parts->information.substr(1)))
        recent_.add(inner->source, inner->destination, inner->information, now);
}

}  // namespace ovelsk::aprs
