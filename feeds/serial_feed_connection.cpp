#include "feeds/serial_feed_connection.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <utility>

#include "feeds/feeds_log.h"
#include "feeds/log_text.h"

namespace ovelsk::aprs {

std::string serialOpenFailure(QSerialPort::SerialPortError error, const std::string& reason, bool mayUseDevice) {
    if (error != QSerialPort::PermissionError) return reason;
    if (mayUseDevice) return reason + " (the device is in use: another program, or another feed of this one, has it open)";
    // Debian gives serial devices to the dialout group.
    return reason + " (to use serial devices the user must be in the dialout group: "
                    "sudo adduser $USER dialout, then log in again)";
}

SerialFeedConnection::SerialFeedConnection(std::string name, SerialDevice device, Handlers handlers,
                                           FeedTimers timers)
    : name_(std::move(name)),
      device_(std::move(device)),
      handlers_(std::move(handlers)),
      timers_(std::move(timers)) {
    status_.name = name_;
    port_.setPortName(QString::fromStdString(device_.path));
    port_.setBaudRate(device_.baud);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    QObject::connect(&port_, &QSerialPort::readyRead, [this] { onReadyRead(); });
    QObject::connect(&port_, &QSerialPort::bytesWritten, [this] { reportWhenDrained(); });
    // Queued: the port reports a vanished device from inside its own read
    // handler, and is closed here only once that has returned. By then the error
    // may be one of a failed open, already dealt with, so the port's present
    // error is what counts.
    QObject::connect(&port_, &QSerialPort::errorOccurred, &port_, [this] { onError(); }, Qt::QueuedConnection);
}

SerialFeedConnection::~SerialFeedConnection() {
    QObject::disconnect(&port_, nullptr, nullptr, nullptr);
    port_.close();
}

void SerialFeedConnection::start() {
    if (state_ == State::Idle) {
        openNow();
    }
}

bool SerialFeedConnection::send(std::string_view bytes) {
    if (state_ != State::Open) {
        return false;
    }
    return writeUnlessBacklogged(port_, bytes);
}

long long SerialFeedConnection::unsentBytes() const {
    int queued = 0;
    if (!isUp() || ioctl(port_.handle(), TIOCOUTQ, &queued) != 0) {
        queued = 0;
    }
    return port_.bytesToWrite() + queued;
}

void SerialFeedConnection::packetDelivered() { backoff_.reset(); }

void SerialFeedConnection::openNow() {
    if (!port_.open(QIODevice::ReadWrite)) {
        const bool mayUse = ::faccessat(AT_FDCWD, device_.path.c_str(), R_OK | W_OK, AT_EACCESS) == 0;
        const std::string reason = serialOpenFailure(port_.error(), port_.errorString().toStdString(), mayUse);
        port_.clearError();
        retryLater("cannot open " + device_.path + ": " + reason);
        return;
    }
    enter(State::Open);
    qCInfo(lcFeeds, "%s: opened %s at %d baud", escapedForLog(name_).c_str(), escapedForLog(device_.path).c_str(),
           device_.baud);
    timers_.settled->start(kSettledAfter, [this] { backoff_.reset(); });
}

void SerialFeedConnection::onReadyRead() {
    if (state_ != State::Open) {
        return;
    }
    qint64 count = 0;
    while ((count = port_.read(readBuffer_.data(), static_cast<qint64>(readBuffer_.size()))) > 0) {
        handlers_.received(std::string_view(readBuffer_.data(), static_cast<std::size_t>(count)));
    }
}

void SerialFeedConnection::onError() {
    if (state_ != State::Open || port_.error() == QSerialPort::NoError) {
        return;
    }
    // A vanished device fails its reads, and Qt's text for that names whatever
    // the system reported last ("Inappropriate ioctl for device").
    const bool readFailed = port_.error() == QSerialPort::ReadError || port_.error() == QSerialPort::ResourceError;
    const std::string reason = readFailed ? "it cannot be read any more (unplugged?)" : port_.errorString().toStdString();
    port_.close();
    port_.clearError();
    timers_.settled->stop();
    drainWait_->stop();
    handlers_.lost();
    retryLater(device_.path + " lost: " + reason);
}

void SerialFeedConnection::retryLater(const std::string& what) {
    enter(State::Waiting);
    const auto delay = backoff_.nextDelay();
    status_.lastError = what;
    status_.retryAt = status_.since + delay;
    qCWarning(lcFeeds, "%s; next attempt in %lld s", escapedForLog(name_ + ": " + what).c_str(),
              static_cast<long long>(delay.count()));
    timers_.retry->start(delay, [this] { openNow(); });
}

void SerialFeedConnection::enter(State state) {
    static constexpr FeedState kShown[] = {FeedState::Idle, FeedState::Connected, FeedState::Retrying};
    state_ = state;
    status_.state = kShown[static_cast<int>(state)];
    status_.since = std::chrono::system_clock::now();
}

// Our buffer empties with the write, the system's queue at the line's speed:
// ten bits a byte with the start and stop bits.
void SerialFeedConnection::reportWhenDrained() {
    if (state_ != State::Open || port_.bytesToWrite() > 0) {
        return;
    }
    if (const long long queued = unsentBytes(); queued > 0) {
        const std::chrono::milliseconds lineTime(queued * 10'000 / device_.baud + 1);
        drainWait_->start(lineTime, [this] { reportWhenDrained(); });
    } else if (drained_) {
        drained_();
    }
}

}  // namespace ovelsk::aprs
