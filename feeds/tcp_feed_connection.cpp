#include "feeds/tcp_feed_connection.h"

#include <QHostAddress>
#include <linux/sockios.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#include <utility>

#include "feeds/feeds_log.h"
#include "feeds/log_text.h"

namespace ovelsk::aprs {
namespace {

// Probes after a minute without traffic, ten seconds apart, six unanswered: a
// peer that vanished without closing (a TNC whose network went away) is found
// gone in about two minutes, as a silent APRS-IS server is.
void probeWhenIdle(QTcpSocket& socket) {
    socket.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    const auto fd = static_cast<int>(socket.socketDescriptor());
    const int idleSeconds = 60, intervalSeconds = 10, probes = 6;
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idleSeconds, sizeof idleSeconds);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &intervalSeconds, sizeof intervalSeconds);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes);
}

}  // namespace

TcpFeedConnection::TcpFeedConnection(std::string name, FeedAddress address, std::string greeting,
                                     Handlers handlers, FeedTimers timers, WhenSilent whenSilent)
    : name_(std::move(name)),
      address_(std::move(address)),
      greeting_(std::move(greeting)),
      handlers_(std::move(handlers)),
      timers_(std::move(timers)),
      whenSilent_(whenSilent) {
    status_.name = name_;
    // Take no more from the kernel than one read hands on, so a server that
    // sends faster than we read is slowed by TCP instead of growing our memory.
    socket_.setReadBufferSize(static_cast<qint64>(readBuffer_.size()));
    QObject::connect(&socket_, &QTcpSocket::connected, [this] { onConnected(); });
    QObject::connect(&socket_, &QTcpSocket::readyRead, [this] { onReadyRead(); });
    QObject::connect(&socket_, &QTcpSocket::errorOccurred,
                     [this](QAbstractSocket::SocketError) { drop(socket_.errorString().toStdString()); });
    QObject::connect(&socket_, &QTcpSocket::disconnected, [this] { drop("the connection was closed"); });
}

TcpFeedConnection::~TcpFeedConnection() {
    QObject::disconnect(&socket_, nullptr, nullptr, nullptr);
    socket_.abort();
}

void TcpFeedConnection::start() {
    if (state_ == State::Idle) {
        connectNow();
    }
}

bool TcpFeedConnection::send(std::string_view bytes) {
    if (state_ != State::Connected) {
        return false;
    }
    return writeUnlessBacklogged(socket_, bytes);
}

// The system counts what the peer's system has not acknowledged; a peer on this
// machine acknowledges what fits its receive buffer, read by the program or not.
long long TcpFeedConnection::unsentBytes() const {
    int queued = 0;
    if (!isUp() || ioctl(static_cast<int>(socket_.socketDescriptor()), SIOCOUTQ, &queued) != 0) {
        queued = 0;
    }
    return socket_.bytesToWrite() + queued;
}

// Bytes the system holds cannot be taken back, only thrown away with the connection.
void TcpFeedConnection::discardUnsent(const std::string& why) { drop("reset " + why); }

// Called for every line, so it only takes note; the read that brought the line
// restarts the silence timer once.
void TcpFeedConnection::lineOrFrameReceived() { wholeLineOrFrame_ = true; }

void TcpFeedConnection::packetDelivered() { backoff_.reset(); }

void TcpFeedConnection::connectNow() {
    enter(State::Connecting);
    wholeLineOrFrame_ = false;
    armSilenceTimer();
    // Given the name, the socket looks it up again (Qt reuses an answer for a
    // minute at most), so a server that moved or a round-robin name that points
    // elsewhere is followed.
    socket_.connectToHost(QString::fromStdString(address_.host), address_.port);
}

void TcpFeedConnection::onConnected() {
    enter(State::Connected);
    qCInfo(lcFeeds, "%s: connected to %s port %u", escapedForLog(name_).c_str(),
           qUtf8Printable(socket_.peerAddress().toString()),
           static_cast<unsigned>(socket_.peerPort()));
    if (!greeting_.empty()) {
        socket_.write(greeting_.data(), static_cast<qint64>(greeting_.size()));
    }
    if (whenSilent_ == WhenSilent::Reconnect) {
        armSilenceTimer();
    } else {
        timers_.silence->stop();
        probeWhenIdle(socket_);
    }
    timers_.settled->start(kSettledAfter, [this] { backoff_.reset(); });
}

void TcpFeedConnection::onReadyRead() {
    if (state_ != State::Connected) {
        return;
    }
    qint64 count = 0;
    while ((count = socket_.read(readBuffer_.data(), static_cast<qint64>(readBuffer_.size()))) > 0) {
        handlers_.received(std::string_view(readBuffer_.data(), static_cast<std::size_t>(count)));
    }
    if (wholeLineOrFrame_) {
        wholeLineOrFrame_ = false;
        if (whenSilent_ == WhenSilent::Reconnect) armSilenceTimer();
    }
}

void TcpFeedConnection::drop(const std::string& reason) {
    if (state_ != State::Connecting && state_ != State::Connected) {
        return;
    }
    const bool wasConnected = state_ == State::Connected;
    // Whole lines or frames that arrived before the close still count.
    onReadyRead();
    enter(State::Waiting);
    timers_.silence->stop();
    timers_.settled->stop();
    const std::string peer = wasConnected ? socket_.peerAddress().toString().toStdString() + " port " +
                                                std::to_string(socket_.peerPort())
                                          : address_.text();
    socket_.abort();
    handlers_.lost();
    const auto delay = backoff_.nextDelay();
    const std::string what = wasConnected ? "connection to " + peer + " lost" : "cannot connect to " + peer;
    status_.lastError = what + ": " + reason;
    status_.retryAt = status_.since + delay;
    qCWarning(lcFeeds, "%s; next attempt in %lld s", escapedForLog(name_ + ": " + what + ": " + reason).c_str(),
              static_cast<long long>(delay.count()));
    timers_.retry->start(delay, [this] { connectNow(); });
}

void TcpFeedConnection::enter(State state) {
    static constexpr FeedState kShown[] = {FeedState::Idle, FeedState::Connecting, FeedState::Connected,
                                           FeedState::Retrying};
    state_ = state;
    status_.state = kShown[static_cast<int>(state)];
    status_.since = std::chrono::system_clock::now();
}

void TcpFeedConnection::armSilenceTimer() {
    timers_.silence->start(kSilenceTimeout, [this] {
        drop("no whole line or frame received for " + std::to_string(kSilenceTimeout.count()) + " s");
    });
}

}  // namespace ovelsk::aprs
