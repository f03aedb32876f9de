#include "status/connection_guard.h"

#include <QTcpSocket>
#include <QTimer>
#include <memory>
#include <utility>

#include "status/safety_headers.h"

namespace ovelsk {
namespace {

constexpr char kTooLarge[] = "431 Request Header Fields Too Large";
constexpr char kBusy[] = "503 Service Unavailable";

// An empty answer that closes the connection.
QByteArray closingAnswer(const char* status) {
    QByteArray answer = QByteArray("HTTP/1.1 ") + status + "\r\n";
    for (const auto& [name, value] : kSafetyHeaders) answer += QByteArray(name) + ": " + value + "\r\n";
    return answer + "Content-Length: 0\r\nConnection: close\r\n\r\n";
}

// Where a socket's current request stands: bytes since the last blank line
// that ended headers, and the last three bytes, to find the next one.
struct RequestBytes {
    std::size_t count = 0;
    char last[3] = {};
    bool refused = false;

    // Takes `bytes` in; false once the headers have run past `limit`.
    bool take(const QByteArray& bytes, std::size_t limit) {
        for (const char c : bytes) {
            ++count;
            if (last[0] == '\r' && last[1] == '\n' && last[2] == '\r' && c == '\n') {
                count = 0;
            } else if (count > limit) {
                return false;
            }
            last[0] = last[1];
            last[1] = last[2];
            last[2] = c;
        }
        return true;
    }
};

}  // namespace

ConnectionGuard::ConnectionGuard(ConnectionLimits limits, QObject* parent) : QTcpServer(parent), limits_(limits) {}

void ConnectionGuard::incomingConnection(qintptr descriptor) {
    auto* socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    if (open_ >= limits_.connections) {
        refuse(socket, kBusy);
        return;
    }
    ++open_;
    // Counted until the peer is gone, not until the socket object is: a burst of
    // short requests would otherwise find the cap full of finished ones.
    auto counted = std::make_shared<bool>(true);
    const auto leave = [this, counted] {
        if (std::exchange(*counted, false)) --open_;
    };
    connect(socket, &QTcpSocket::disconnected, this, leave);
    connect(socket, &QObject::destroyed, this, leave);
    watch(socket);
    addPendingConnection(socket);
}

// Connected before the HTTP server's own handlers, so every read is counted
// before the server reads it.
void ConnectionGuard::watch(QTcpSocket* socket) {
    auto* idle = new QTimer(socket);
    idle->setSingleShot(true);
    idle->setInterval(limits_.idle);
    connect(idle, &QTimer::timeout, socket, [socket] { socket->abort(); });
    idle->start();
    connect(socket, &QTcpSocket::bytesWritten, idle, qOverload<>(&QTimer::start));

    auto request = std::make_shared<RequestBytes>();
    connect(socket, &QTcpSocket::readyRead, socket, [this, socket, idle, request] {
        idle->start();
        if (request->refused) {
            socket->readAll();
            return;
        }
        if (!request->take(socket->peek(socket->bytesAvailable()), limits_.headerBytes)) {
            request->refused = true;
            socket->readAll();
            refuse(socket, kTooLarge);
        }
    });
    // A socket the server has let go of is gone for good.
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
}

void ConnectionGuard::refuse(QTcpSocket* socket, const char* status) {
    socket->write(closingAnswer(status));
    socket->disconnectFromHost();
    if (socket->state() == QAbstractSocket::UnconnectedState) socket->deleteLater();
    else connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater, Qt::UniqueConnection);
}

}  // namespace ovelsk
