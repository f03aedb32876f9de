#include "standin/rf_to_internet_gate.h"


#include "aprs/aprs_is_login.h"
#include "aprs/rf_to_internet.h"
#include "feeds/log_text.h"
#include "standin/standin_log.h"

namespace ovelsk::aprs {

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
    const auto notSent = [&](const std::string& why) {
        qCInfo(lcIgate, "igate: not sent %s: %s", escapedForLog(packet).c_str(), why.c_str());
    };
    if (!decision.line) return notSent(notGatedText(decision.reason, escapedForLog(decision.word)));
    const auto nowMs = wholeMilliseconds(clock_.now());
    const Tnc2Packet& sent = decision.sent;
    if (sent_.contains(sent.source, sent.destination, sent.information, nowMs))
        return notSent("duplicate within " + std::to_string(kInternetDuplicateWindow.count()) + " s");
    if (!server_.sendPacketLine(*decision.line)) return notSent("no connection to the APRS-IS server");
    sent_.add(sent.source, sent.destination, sent.information, nowMs);
    qCInfo(lcIgate, "igate: sent %s", escapedForLog(*decision.line).c_str());
}

}  // namespace ovelsk::aprs
