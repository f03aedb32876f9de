#include "gateway/beacon_sender.h"

#include "aprs/ax25_frame.h"
#include "aprs/kiss_frame.h"
#include "aprs/third_party_frame.h"
#include "feeds/log_text.h"
#include "gateway/gateway_log.h"

namespace ovelsk::gateway {
namespace {

// What the server expects of a client's own packet: its login as the source,
// TCPIP* as its path.
constexpr std::string_view kInternetPath = "TCPIP*";

}  // namespace

BeaconSender::BeaconSender(const BeaconPlan& plan, std::unique_ptr<aprs::FeedTimer> timer)
    : uplink_(plan.uplink),
      internetLine_(aprs::thirdPartyFrameText(plan.loginCallsign, kInternetPath, plan.information)),
      transmitter_(plan.transmitter),
      interval_(plan.interval),
      timer_(std::move(timer)) {
    if (const auto frame = aprs::tnc2ToAx25UiFrame(aprs::thirdPartyFrameText(plan.radioCallsign, plan.via, plan.information)))
        kissFrame_ = aprs::kissDataFrame(plan.port, *frame);
}

BeaconSender::~BeaconSender() = default;

void BeaconSender::start() {
    if (uplink_) uplink_->addLoginVerifiedHandler([this] { onLoginVerified(); });
    // Without a verified login by then, the first beacon goes on the air alone.
    timer_->start(interval_, [this] { beaconNow(); });
}

void BeaconSender::onLoginVerified() {
    if (started_) {
        sendToInternetIfDue();
    } else {
        beaconNow();
    }
}

void BeaconSender::beaconNow() {
    started_ = true;
    internetDue_ = uplink_ != nullptr;
    sendToInternetIfDue();
    if (transmitter_) sendToRadio();
    timer_->start(interval_, [this] { beaconNow(); });
}

void BeaconSender::sendToInternetIfDue() {
    if (!internetDue_) return;
    if (!uplink_->loginVerified()) {
        qCInfo(lcGate, "gate: beacon not sent to APRS-IS: the login is not verified; it goes once it is");
        return;
    }
    if (!uplink_->sendPacketLine(internetLine_)) {
        qCInfo(lcGate, "gate: beacon not sent to APRS-IS: %s",
               uplink_->whyNotTaken() == aprs::UplinkRefusal::QueueFull ? "the queue to the server is full"
                                                                         : "no connection to the server");
        return;
    }
    internetDue_ = false;
    qCInfo(lcGate, "gate: beacon sent to APRS-IS");
}

void BeaconSender::sendToRadio() {
    if (!kissFrame_) {
        qCWarning(lcGate, "gate: beacon not sent to RF: it does not fit an AX.25 frame");
    } else if (!transmitter_->sendKissFrame(*kissFrame_)) {
        qCInfo(lcGate, "gate: beacon not sent to RF: %s %s", aprs::escapedForLog(transmitter_->transmitterName()).c_str(),
               transmitter_->whyNotTaken().c_str());
    } else {
        qCInfo(lcGate, "gate: beacon sent to RF");
    }
}

}  // namespace ovelsk::gateway
