#include "feeds/kiss_feed.h"

#include <utility>

#include "aprs/ax25_frame.h"
#include "feeds/serial_feed_connection.h"
#include "feeds/tcp_feed_connection.h"

namespace ovelsk::aprs {

KissFeed::KissFeed(const FeedAddress& address, PacketSink sink, FeedTimers timers,
                   std::unique_ptr<FeedTimer> transmitCheck)
    : sink_(std::move(sink)),
      frameHandler_([this](const KissFrame& frame) { onFrame(frame); }) {
    auto tcp = std::make_unique<TcpFeedConnection>("kiss:" + address.text(), address, std::string(), handlers(),
                                                   std::move(timers), WhenSilent::StayConnected);
    deadline_ = std::make_unique<TransmitDeadline>(*tcp, std::move(transmitCheck));
    connection_ = std::move(tcp);
}

KissFeed::KissFeed(const SerialDevice& device, PacketSink sink, FeedTimers timers,
                   std::unique_ptr<FeedTimer> transmitCheck)
    : sink_(std::move(sink)),
      frameHandler_([this](const KissFrame& frame) { onFrame(frame); }) {
    auto serial = std::make_unique<SerialFeedConnection>("kiss-serial:" + device.text(), device, handlers(),
                                                         std::move(timers));
    deadline_ = std::make_unique<TransmitDeadline>(*serial, std::move(transmitCheck));
    connection_ = std::move(serial);
}

FeedConnection::Handlers KissFeed::handlers() {
    return {[this](std::string_view bytes) { deframer_.feed(bytes, frameHandler_); },
            [this] {
                deframer_.reset();
                deadline_->forget();
            }};
}

void KissFeed::start() { connection_->start(); }

FeedStatus KissFeed::status() const {
    FeedStatus status = connection_->linkStatus();
    status.packets = packets_;
    return status;
}

std::string KissFeed::whyNotTaken() const {
    return connection_->isUp() ? "is not taking what it is sent" : "is not connected";
}

void KissFeed::onFrame(const KissFrame& frame) {
    connection_->lineOrFrameReceived();
    if (!frame.isData()) {
        return;
    }
    if (const auto text = ax25UiFrameToTnc2(frame.payload)) {
        ++packets_;
        sink_(static_cast<std::int16_t>(frame.port()), *text);
        connection_->packetDelivered();
    }
}

}  // namespace ovelsk::aprs
