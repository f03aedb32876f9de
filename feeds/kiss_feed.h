#pragma once
// The KISS feeds: "kiss:HOST:PORT" reads the frames a TNC such as Direwolf
// serves over TCP, "kiss-serial:DEVICE[:BAUD]" those of a hardware TNC on a
// serial port. Either passes on every APRS UI frame, as TNC2 text, as a radio
// beacon with the TNC port it was heard on, and hands the TNC frames to transmit.

#include <cstdint>
#include <memory>
#include <string>

#include "aprs/kiss_deframer.h"
#include "feeds/feed.h"
#include "feeds/feed_address.h"
#include "feeds/feed_connection.h"
#include "feeds/kiss_transmitter.h"
#include "feeds/serial_device.h"
#include "feeds/transmit_deadline.h"

namespace ovelsk::aprs {

inline constexpr std::uint16_t kKissDefaultPort = 8001;

class KissFeed final : public Feed, public KissTransmitter {
public:
    // Connection changes and frames dropped for the TNC are logged in
    // ovelsk.feeds; `transmitCheck` times what the TNC was sent.
    KissFeed(const FeedAddress& address, PacketSink sink, FeedTimers timers = FeedTimers::onEventLoop(),
             std::unique_ptr<FeedTimer> transmitCheck = makeEventLoopTimer());
    KissFeed(const SerialDevice& device, PacketSink sink, FeedTimers timers = FeedTimers::onEventLoop(),
             std::unique_ptr<FeedTimer> transmitCheck = makeEventLoopTimer());

    void start() override;
    KissTransmitter* transmitter() override { return this; }
    FeedStatus status() const override;

    bool sendKissFrame(std::string_view frame) override { return deadline_->send(frame); }
    const std::string& transmitterName() const override { return connection_->name(); }
    std::string whyNotTaken() const override;

private:
    FeedConnection::Handlers handlers();
    void onFrame(const KissFrame& frame);

    PacketSink sink_;
    KissDeframer deframer_;
    KissDeframer::FrameHandler frameHandler_;
    std::unique_ptr<FeedConnection> connection_;
    std::uint64_t packets_ = 0;
    std::unique_ptr<TransmitDeadline> deadline_;
};

}  // namespace ovelsk::aprs
