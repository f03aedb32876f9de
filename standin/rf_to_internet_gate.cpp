#include "standin/rf_to_internet_gate.h"

#include <cmath>
#include <cstdio>
#include <ostream>

#include "aprs/aprs_is_login.h"
#include "aprs/rf_to_internet.h"

namespace ovelsk::aprs {
namespace {

// A packet as one line of the log.
std::string printable(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "<0x%02x>", byte);
            text += escaped;
        } else {
            text += c;
        }
    }
    return text;
}

}  // namespace

RadioToInternetGate::RadioToInternetGate(std::string callsign, int passcode, AprsIsFeed& server, const Clock& clock,
                                         std::ostream& log)
    : callsign_(std::move(callsign)),
      passcode_(passcode),
      server_(server),
      clock_(clock),
      log_(log),
      sent_(std::chrono::milliseconds(kInternetDuplicateWindow).count()) {}

bool RadioToInternetGate::loginAllowsGating() {
    if (passcode_ != kReceiveOnlyPasscode && server_.loginVerified()) {
        toldWhyNotGating_ = false;
        return true;
    }
    if (!toldWhyNotGating_) {
        toldWhyNotGating_ = true;
        log_ << "igate: radio packets are not gated to the Internet: "
             << (passcode_ == kReceiveOnlyPasscode
                     ? "Passcode is -1 (receive only)"
                     : "the APRS-IS server (" + server_.name() + ") has not verified the login of " + callsign_ +
                           "; is Passcode right?")
             << std::endl;
    }
    return false;
}

void RadioToInternetGate::heardOnRadio(std::string_view packet) {
    if (!loginAllowsGating()) return;
    const RadioToInternet decision = gateToInternet(packet, callsign_);
    if (!decision.line) {
        log_ << "igate: not sent " << printable(packet) << ": " << notGatedText(decision.reason, decision.word)
             << std::endl;
        return;
    }
    const auto nowMs = std::llround(clock_.now() * 86'400'000.0);
    const Tnc2Packet& sent = decision.sent;
    if (sent_.contains(sent.source, sent.destination, sent.information, nowMs)) {
        log_ << "igate: not sent " << printable(packet) << ": duplicate within " << kInternetDuplicateWindow.count()
             << " s" << std::endl;
        return;
    }
    if (!server_.sendLine(*decision.line)) {
        log_ << "igate: not sent " << printable(packet) << ": no connection to the APRS-IS server" << std::endl;
        return;
    }
    sent_.add(sent.source, sent.destination, sent.information, nowMs);
    log_ << "igate: sent " << printable(*decision.line) << std::endl;
}

}  // namespace ovelsk::aprs
