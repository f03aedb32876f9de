#pragma once
// A serial device a feed keeps open on its own, such as a hardware TNC on
// /dev/ttyUSB0: it opens the device raw (8 data bits, no parity, one stop bit,
// no flow control) at the feed's speed, hands on every byte received, and when
// the device is missing, cannot be opened or goes away (unplugged) it tries again
// after a growing wait. Every change is logged in ovelsk.feeds with the feed and why.
//
// Like a TNC's TCP connection, a serial line is never dropped for silence: a TNC sends
// nothing while the channel is quiet, and a device that goes away is reported by
// the system.

#include <QSerialPort>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "feeds/feed_connection.h"
#include "feeds/feed_timer.h"
#include "feeds/reconnect_backoff.h"
#include "feeds/serial_device.h"

namespace ovelsk::aprs {

class SerialFeedConnection final : public FeedConnection {
public:
    // `name` names the feed in the log ("kiss-serial:/dev/ttyUSB0:9600").
    SerialFeedConnection(std::string name, SerialDevice device, Handlers handlers, FeedTimers timers);
    ~SerialFeedConnection() override;
    SerialFeedConnection(const SerialFeedConnection&) = delete;
    SerialFeedConnection& operator=(const SerialFeedConnection&) = delete;

    void start() override;
    bool send(std::string_view bytes) override;
    const std::string& name() const override { return name_; }
    bool isUp() const override { return state_ == State::Open; }
    long long unsentBytes() const override;
    void packetDelivered() override;
    const FeedStatus& linkStatus() const override { return status_; }
    // Calls `drained` whenever all that was sent has left: our buffer and the
    // system's queue for the device are empty.
    void whenDrained(std::function<void()> drained) { drained_ = std::move(drained); }

private:
    enum class State { Idle, Open, Waiting };

    void openNow();
    void onReadyRead();
    void onError();
    void retryLater(const std::string& what);
    void enter(State state);
    void reportWhenDrained();

    std::string name_;
    SerialDevice device_;
    Handlers handlers_;
    FeedTimers timers_;
    ReconnectBackoff backoff_;
    std::function<void()> drained_;
    // Nothing says when the system's queue has gone out on the line.
    std::unique_ptr<FeedTimer> drainWait_ = makeEventLoopTimer();
    QSerialPort port_;
    State state_ = State::Idle;
    FeedStatus status_;
    std::array<char, 4096> readBuffer_{};
};

// Why a device could not be opened, for the log: the system's reason and, when
// permission was refused, what to do about it. Qt reports a device that another
// program (or another feed) holds as refused permission too; `mayUseDevice`
// (the user may read and write it) tells that case apart.
std::string serialOpenFailure(QSerialPort::SerialPortError error, const std::string& reason, bool mayUseDevice);

}  // namespace ovelsk::aprs
