#include "feeds/kiss_feed.h"

#include <utility>

#include "aprs/ax25_frame.h"

namespace ovelsk::aprs {

KissFeed::KissFeed(const FeedAddress& address, PacketSink sink, std::ostream& log, FeedTimers timers)
    : sink_(std::move(sink)),
      frameHandler_([this](const KissFrame& frame) { onFrame(frame); }),
      connection_("kiss:" + address.text(), address, std::string(),
                  TcpFeedConnection::Handlers{[this](std::string_view bytes) { deframer_.feed(bytes, frameHandler_); },
                                              [this] { deframer_.reset(); }},
                  std::move(timers), log) {}

void KissFeed::start() { connection_.start(); }

void KissFeed::onFrame(const KissFrame& frame) {
    connection_.lineOrFrameReceived();
    if (!frame.isData()) {
        return;
    }
    if (const auto text = ax25UiFrameToTnc2(frame.payload)) {
        sink_(static_cast<std::int16_t>(frame.port()), *text);
        connection_.packetDelivered();
    }
}

}  // namespace ovelsk::aprs
