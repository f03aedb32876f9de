#include "gateway/rf_to_internet_gate.h"

#include <array>

#include "aprs/aprs_is_login.h"
#include "feeds/log_text.h"
#include "gateway/gateway_log.h"

namespace ovelsk::gateway {
namespace {

// The reasons of NotGatedToInternet in its order, then this gate's own.
constexpr std::array<std::string_view, 8> kOutcomeLabels = {
    "empty", "malformed", "never-gate path", "from the Internet", "query", "no connection", "queue full", kSentToInternet};
constexpr std::size_t kNoConnection = 5, kQueueFull = 6, kSent = 7;
static_assert(kNoConnection == static_cast<std::size_t>(aprs::NotGatedToInternet::GenericQuery) + 1);

}  // namespace

std::span<const std::string_view> internetGateOutcomes() { return kOutcomeLabels; }

RadioToInternetGate::RadioToInternetGate(std::string callsign, int passcode, aprs::IgateKind kind, aprs::AprsIsUplink& server,
                                         const Clock& clock)
    : callsign_(std::move(callsign)),
      passcode_(passcode),
      kind_(kind),
      server_(server),
      clock_(clock),
      log_(lcIgate, "igate") {
    // A receive-only login can never gate: say so at start-up, not at the first packet heard.
    if (passcode_ == aprs::kReceiveOnlyPasscode) loginAllowsGating();
}

bool RadioToInternetGate::loginAllowsGating() {
    if (passcode_ != aprs::kReceiveOnlyPasscode && server_.loginVerified()) {
        toldWhyNotGating_ = false;
        return true;
    }
    if (!toldWhyNotGating_) {
        toldWhyNotGating_ = true;
        const std::string why = passcode_ == aprs::kReceiveOnlyPasscode
                                    ? "Passcode is -1 (receive only)"
                                    : "the APRS-IS server (" + aprs::escapedForLog(server_.uplinkName()) +
                                          ") has not verified the login of " + aprs::escapedForLog(callsign_) +
                                          " (not connected yet, or Passcode not right)";
        qCWarning(lcIgate, "igate: radio packets are not gated to the Internet: %s", why.c_str());
    }
    return false;
}

void RadioToInternetGate::log(std::size_t outcome, std::string_view kind, const std::string& text) {
    log_.write(wholeMilliseconds(clock_.now()), kind, text);
    if (report_) report_(kOutcomeLabels[outcome], text);
}

void RadioToInternetGate::heardOnRadio(std::string_view packet) {
    log_.flush(wholeMilliseconds(clock_.now()));
    if (!loginAllowsGating()) return;
    const aprs::RadioToInternet decision = aprs::gateToInternet(packet, callsign_, kind_);
    const auto notSent = [&](std::size_t outcome, const std::string& why) {
        log(outcome, "not sent: " + why, "not sent " + aprs::escapedForLog(packet) + ": " + why);
    };
    if (!decision.line)
        return notSent(static_cast<std::size_t>(decision.reason), aprs::notGatedText(decision.reason, aprs::escapedForLog(decision.word)));
    if (!server_.sendPacketLine(*decision.line)) {
        if (server_.whyNotTaken() == aprs::UplinkRefusal::QueueFull)
            return notSent(kQueueFull, "the queue to the APRS-IS server is full");
        return notSent(kNoConnection, "no connection to the APRS-IS server");
    }
    log(kSent, "sent", "sent " + aprs::escapedForLog(*decision.line));
}

}  // namespace ovelsk::gateway
