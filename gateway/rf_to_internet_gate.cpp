#include "gateway/rf_to_internet_gate.h"

#include <array>

#include "aprs/aprs_is_login.h"
#include "feeds/log_text.h"
#include "gateway/gateway_log.h"

namespace ovelsk::gateway {
namespace {

// The reasons of NotGatedToInternet in its order, then this gate's own.
constexpr std::array<std::string_view, 7> kOutcomeLabels = {
    "empty", "malformed", "never-gate path", "from the Internet", "query", "no connection", kSentToInternet};
constexpr std::size_t kNoConnection = 5, kSent = 6;
static_assert(kNoConnection == static_cast<std::size_t>(aprs::NotGatedToInternet::GenericQuery) + 1);

}  // namespace

std::span<const std::string_view> internetGateOutcomes() { return kOutcomeLabels; }

RadioToInternetGate::RadioToInternetGate(std::string callsign, int passcode, aprs::IgateKind kind, aprs::AprsIsUplink& server)
    : callsign_(std::move(callsign)), passcode_(passcode), kind_(kind), server_(server) {}

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

void RadioToInternetGate::heardOnRadio(std::string_view packet) {
    if (!loginAllowsGating()) return;
    const aprs::RadioToInternet decision = aprs::gateToInternet(packet, callsign_, kind_);
    const auto log = [&](std::size_t outcome, const std::string& text) {
        qCInfo(lcIgate, "igate: %s", text.c_str());
        if (report_) report_(kOutcomeLabels[outcome], text);
    };
    const auto notSent = [&](std::size_t outcome, const std::string& why) {
        log(outcome, "not sent " + aprs::escapedForLog(packet) + ": " + why);
    };
    if (!decision.line)
        return notSent(static_cast<std::size_t>(decision.reason), aprs::notGatedText(decision.reason, aprs::escapedForLog(decision.word)));
    if (!server_.sendPacketLine(*decision.line)) return notSent(kNoConnection, "no connection to the APRS-IS server");
    log(kSent, "sent " + aprs::escapedForLog(*decision.line));
}

}  // namespace ovelsk::gateway
