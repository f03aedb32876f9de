#pragma once
// The listening socket of the status page, with the limits Qt's HTTP server
// (6.4) does not keep itself: at most 16 connections open at once (one more is
// closed at once), a connection idle for 30 s closed, and a request line with
// headers over 8 KiB answered 431 and closed before the server buffers more of
// it. Bytes are counted up to the blank line that ends the headers; what
// follows counts towards the next request, so a body too large is refused the
// same way, and a small one by the page itself.

#include <QTcpServer>
#include <chrono>
#include <cstddef>

class QTcpSocket;

namespace ovelsk {

struct ConnectionLimits {
    int connections = 16;
    std::chrono::milliseconds idle = std::chrono::seconds(30);
    std::size_t headerBytes = 8 * 1024;
};

class ConnectionGuard final : public QTcpServer {
public:
    explicit ConnectionGuard(ConnectionLimits limits = {}, QObject* parent = nullptr);

    int openConnections() const { return open_; }

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    void watch(QTcpSocket* socket);
    // Answers `status` ("503 Service Unavailable") and closes.
    void refuse(QTcpSocket* socket, const char* status);

    ConnectionLimits limits_;
    int open_ = 0;
};

}  // namespace ovelsk
