#pragma once
// Test support for the network feeds: a TCP server on 127.0.0.1 that records
// what its clients send and sends what the test tells it to, timers the test
// fires by hand, and a bounded wait on the event loop.

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "feeds/feed.h"
#include "feeds/feed_timer.h"
#include "feeds/tcp_feed_connection.h"
#include "support/log_capture.h"

namespace ovelsk::testing {

inline void ensureEventLoop() {
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "test_aprs";
        static char* argv[] = {name, nullptr};
        new QCoreApplication(argc, argv);
    }
}

// Runs the event loop until `done` holds; false if it did not within `limit`.
inline bool spinUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    ensureEventLoop();
    QDeadlineTimer deadline(limit);
    QTimer wakeUp;
    wakeUp.start(10);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

class ManualTimer final : public aprs::FeedTimer {
public:
    void start(std::chrono::milliseconds delay, std::function<void()> onExpiry) override {
        delay_ = delay;
        onExpiry_ = std::move(onExpiry);
        ++starts_;
    }
    void stop() override { onExpiry_ = nullptr; }

    bool active() const { return onExpiry_ != nullptr; }
    std::chrono::milliseconds delay() const { return delay_; }
    int starts() const { return starts_; }
    void fire() { std::exchange(onExpiry_, nullptr)(); }

private:
    std::chrono::milliseconds delay_{0};
    std::function<void()> onExpiry_;
    int starts_ = 0;
};

// A feed's timers, with the test holding on to them.
struct ManualTimers {
    ManualTimer* retry = nullptr;
    ManualTimer* silence = nullptr;
    ManualTimer* settled = nullptr;

    aprs::FeedTimers take() {
        auto retryTimer = std::make_unique<ManualTimer>();
        auto silenceTimer = std::make_unique<ManualTimer>();
        auto settledTimer = std::make_unique<ManualTimer>();
        retry = retryTimer.get();
        silence = silenceTimer.get();
        settled = settledTimer.get();
        return aprs::FeedTimers{std::move(retryTimer), std::move(silenceTimer), std::move(settledTimer)};
    }
};

class LoopbackServer {
public:
    struct Client {
        QTcpSocket* socket = nullptr;
        std::string received;
        bool closed = false;
    };

    LoopbackServer() {
        ensureEventLoop();
        QObject::connect(&server_, &QTcpServer::newConnection, [this] { acceptAll(); });
    }

    ~LoopbackServer() {
        for (const auto& client : clients_) {
            QObject::disconnect(client->socket, nullptr, nullptr, nullptr);
        }
    }

    bool listen(quint16 port = 0) { return server_.listen(QHostAddress::LocalHost, port); }
    void stopListening() { server_.close(); }
    quint16 port() const { return server_.serverPort(); }

    int clientCount() const { return static_cast<int>(clients_.size()); }
    Client& client(int index) { return *clients_.at(static_cast<std::size_t>(index)); }
    Client& lastClient() { return *clients_.back(); }

    bool waitForClients(int count) {
        return spinUntil([&] { return clientCount() >= count; });
    }
    bool waitForReceived(int index, std::string_view text) {
        return spinUntil([&] { return client(index).received.find(text) != std::string::npos; });
    }
    bool waitForClosed(int index) {
        return spinUntil([&] { return client(index).closed; });
    }

    // Waits for client `index` and its first line (a login), answers it with
    // `answer` and returns what the client sent; empty when it sent nothing.
    std::string answerLogin(int index, std::string_view answer) {
        if (!waitForClients(index + 1) || !waitForReceived(index, "\r\n")) return {};
        std::string login = client(index).received;
        send(index, answer);
        return login;
    }

    void send(int index, std::string_view bytes) {
        Client& c = client(index);
        c.socket->write(bytes.data(), static_cast<qint64>(bytes.size()));
        c.socket->flush();
    }
    void close(int index) {
        client(index).socket->flush();
        client(index).socket->disconnectFromHost();
    }

private:
    void acceptAll() {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            auto client = std::make_unique<Client>();
            client->socket = socket;
            Client* c = client.get();
            QObject::connect(socket, &QTcpSocket::readyRead, [c] { c->received += c->socket->readAll().toStdString(); });
            QObject::connect(socket, &QTcpSocket::disconnected, [c] { c->closed = true; });
            clients_.push_back(std::move(client));
        }
    }

    QTcpServer server_;
    std::vector<std::unique_ptr<Client>> clients_;
};

// The lines of a feed's log.
inline std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        result.push_back(text.substr(start, end - start));
    }
    return result;
}

// What a feed delivered.
struct Delivery {
    std::int16_t sourceNumber;
    std::string packet;
    bool operator==(const Delivery&) const = default;
};

// What a feed test holds beside its feed: the server it talks to, its timers,
// what it delivered and what it logged.
class FeedTest : public ::testing::Test {
protected:
    FeedTest() { EXPECT_TRUE(server.listen()); }

    aprs::PacketSink recordDeliveries() {
        return [this](std::int16_t source, std::string_view packet) { delivered.push_back({source, std::string(packet)}); };
    }
    bool waitForDeliveries(std::size_t count) {
        return spinUntil([&] { return delivered.size() >= count; });
    }
    // What the feed logged, one message each.
    std::vector<std::string> log() const { return lines(logCapture.text()); }

    LoopbackServer server;
    ManualTimers timers;
    std::vector<Delivery> delivered;
    LogCapture logCapture;
};

}  // namespace ovelsk::testing
