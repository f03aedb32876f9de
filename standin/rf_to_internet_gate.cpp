#include "standin/rf_to_internet_gate.h"

#include "aprs/aprs_is_login.h"
#include "feeds/log_text.h"
#include "standin/standin_log.h"

namespace ovelsk::aprs {

RadioToInternetGate::RadioToInternetGate(std::string callsign, int passcode, IgateKind kind, AprsIsUplink& server)
    : callsign_(std::move(callsign)), passcode_(passcode), kind_(kind), server_(server) {}

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
                                          " (not connected yet, or Passcode not right)";
        qCWarning(lcIgate, "igate: radio packets are not gated to the Internet: %s", why.c_str());
    }
    return false;
}

void RadioToInternetGate::heardOnRadio(std::string_view packet) {
    if (!loginAllowsGating()) return;
    const RadioToInternet decision = gateToInternet(packet, callsign_, kind_);
    const auto notSent = [&](const std::string& why) {
        qCInfo(lcIgate, "igate: not sent %s: %s", escapedForLog(packet).c_str(), why.c_str());
    };
    if (!decision.line) return notSent(notGatedText(decision.reason, escapedForLog(decision.word)));
    if (!server_.sendPacketLine(*decision.line)) return notSent("no connection to the APRS-IS server");
    qCInfo(lcIgate, "igate: sent %s", escapedForLog(*decision.line).c_str());
}

}  // namespace ovelsk::aprs
