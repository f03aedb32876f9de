#include "standin/rf_to_internet_gate.h"

#include <array>

#include "aprs/aprs_is_login.h"
#include "aprs/rf_to_internet.h"
#include "feeds/log_text.h"
#include "standin/standin_log.h"

namespace ovelsk::aprs {
namespace {

// The reasons of NotGatedToInternet in its order, then this gate's own.
constexpr std::array<std::string_view, 8> kOutcomeLabels = {
    "line break", "malformed", "never-gate path", "from the Internet", "query", "duplicate", "no connection", "sent"};
constexpr std::size_t kDuplicate = 5, kNoConnection = 6, kSent = 7;
static_assert(kDuplicate == static_cast<std::size_t>(NotGatedToInternet::GenericQuery) + 1);

}  // namespace

std::span<const std::string_view> internetGateOutcomes() { return kOutcomeLabels; }

RadioToInternetGate::RadioToInternetGate(std::string callsign, int passcode, AprsIsUplink& server, const Clock& clock)
    : callsign_(std::move(callsign)),
      passcode_(passcode),
      server_(server),
      clock_(clock),
      sent_(std::chrono::milliseconds(kInternetDuplicateWindow).count()) {}

bool RadioToInternetGate::loginAllowsGating() {
    if (passcode_ != kReceiveOnlyPasscode && server_.loginVerified()) {
        toldWhyNotGating_ = false;
        return true;
    }
    if (!toldWhyNotGating_) {
        toldWhyNotGating_ = true;
        const std::string why = passcode_ == kReceiveOnlyPasscode
                                    ? "Passcode is -1 (receive only)"
                                    : "the APRS-IS server (" + escapedForLog(server_.uplinkName()) +
                                          ") has not verified the login of " + escapedForLog(callsign_) +
                                          "; is Passcode right?";
        qCWarning(lcIgate, "igate: radio packets are not gated to the Internet: %s", why.c_str());
    }
    return false;
}

void RadioToInternetGate::heardOnRadio(std::string_view packet) {
    if (!loginAllowsGating()) return;
    const RadioToInternet decision = gateToInternet(packet, callsign_);
    const auto notSent = [&](std::size_t outcome, const std::string& why) {
        const std::string text = "not sent " + escapedForLog(packet) + ": " + why;
        qCInfo(lcIgate, "igate: %s", text.c_str());
        if (report_) report_(kOutcomeLabels[outcome], text);
    };
    if (!decision.line)
        return notSent(static_cast<std::size_t>(decision.reason), notGatedText(decision.reason, escapedForLog(decision.word)));
    const auto nowMs = wholeMilliseconds(clock_.now());
    const Tnc2Packet& sent = decision.sent;
    if (sent_.contains(sent.source, sent.destination, sent.information, nowMs))
        return notSent(kDuplicate, "duplicate within " + std::to_string(kInternetDuplicateWindow.count()) + " s");
    if (!server_.sendPacketLine(*decision.line)) return notSent(kNoConnection, "no connection to the APRS-IS server");
    sent_.add(sent.source, sent.destination, sent.information, nowMs);
    const std::string text = "sent " + escapedForLog(*decision.line);
    qCInfo(lcIgate, "igate: %s", text.c_str());
    if (report_) report_(kOutcomeLabels[kSent], text);
}

}  // namespace ovelsk::aprs
