// The status page's server: what it answers, what it refuses, and that text
// from the network reaches the page only as JSON strings.
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonArray>
#include <QTcpSocket>
#include <gmock/gmock.h>

#include "status/status_fixture.h"
#include "status/status_json.h"
#include "status/status_server.h"
#include "support/fake_host_report.h"

namespace ovelsk::testing {
namespace {

// Sends `request` and returns what came back once the answer's headers are in
// and the body (as long as Content-Length says) or the connection's end.
std::string ask(std::uint16_t port, const std::string& request) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    socket.write(request.data(), static_cast<qint64>(request.size()));
    std::string answer;
    const auto whole = [&] {
        answer += socket.readAll().toStdString();
        const auto end = answer.find("\r\n\r\n");
        if (end == std::string::npos) return socket.state() == QAbstractSocket::UnconnectedState;
        const auto length = answer.find("Content-Length: ");
        if (length == std::string::npos || length > end) return true;
        return answer.size() >= end + 4 + std::stoul(answer.substr(length + 16));
    };
    EXPECT_TRUE(spinUntil(whole)) << request.substr(0, 40);
    return answer;
}

class StatusServerTest : public StatusFixture {
protected:
    std::uint16_t start(ConnectionLimits limits = {}) {
        server_ = std::make_unique<StatusServer>(sources(), limits);
        EXPECT_EQ(server_->listen({"127.0.0.1", 0}), std::nullopt);
        return server_->port();
    }
    std::unique_ptr<StatusServer> server_;
};

TEST_F(StatusServerTest, AnswersGetAndHeadWithTheSafetyHeaders) {
    const auto port = start();
    struct Case {
        const char* path;
        const char* type;
    };
    const Case cases[] = {{"/", "text/html"},          {"/app.js", "text/javascript"}, {"/app.css", "text/css"},
                          {"/api/status", "application/json"}, {"/metrics", "text/plain; version=0.0.4"},
                          {"/radar.png", "image/png"}};
    for (const auto& c : cases) {
        for (const std::string method : {"GET", "HEAD"}) {
            const std::string answer = ask(port, method + " " + c.path + " HTTP/1.1\r\nHost: x\r\n\r\n");
            EXPECT_THAT(answer, ::testing::StartsWith("HTTP/1.1 200 ")) << method << c.path;
            EXPECT_THAT(answer, ::testing::HasSubstr("Content-Type: " + std::string(c.type)));
            EXPECT_THAT(answer, ::testing::HasSubstr("Content-Security-Policy: default-src 'self'; img-src 'self'\r\n"));
            EXPECT_THAT(answer, ::testing::HasSubstr("X-Content-Type-Options: nosniff\r\n"));
            EXPECT_THAT(answer, ::testing::HasSubstr("Cache-Control: no-store\r\n"));
            const bool hasBody = answer.size() > answer.find("\r\n\r\n") + 4;
            EXPECT_EQ(hasBody, method == "GET") << method << c.path;
        }
    }
}

TEST_F(StatusServerTest, RefusesWhatIsNotAPlainGet) {
    const auto port = start();
    struct Case {
        const char* what;
        std::string request;
        const char* status;
    };
    const Case cases[] = {
        {"POST", "POST /api/status HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\n\r\n", "HTTP/1.1 405 "},
        {"DELETE", "DELETE / HTTP/1.1\r\nHost: x\r\n\r\n", "HTTP/1.1 405 "},
        {"unknown path", "GET /igate.ini HTTP/1.1\r\nHost: x\r\n\r\n", "HTTP/1.1 404 "},
        {"a path like a known one", "GET /appXjs HTTP/1.1\r\nHost: x\r\n\r\n", "HTTP/1.1 404 "},
        {"headers over 8 KiB", "GET / HTTP/1.1\r\nHost: x\r\nX-Pad: " + std::string(9000, 'a') + "\r\n\r\n",
         "HTTP/1.1 431 "},
        {"request line over 8 KiB", "GET /" + std::string(9000, 'a') + " HTTP/1.1\r\n\r\n", "HTTP/1.1 431 "},
        {"a body", "GET /api/status HTTP/1.1\r\nHost: x\r\nContent-Length: 5\r\n\r\nhello", "HTTP/1.1 413 "},
    };
    for (const auto& c : cases) {
        const std::string answer = ask(port, c.request);
        EXPECT_THAT(answer, ::testing::StartsWith(c.status)) << c.what;
        EXPECT_THAT(answer, ::testing::HasSubstr("X-Content-Type-Options: nosniff\r\n")) << c.what;
    }
}

TEST_F(StatusServerTest, ClosesConnectionsBeyondTheCap) {
    const auto port = start({.connections = 2});
    QTcpSocket first, second;
    for (auto* socket : {&first, &second}) socket->connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(spinUntil([this] { return server_->openConnections() == 2; }));

    EXPECT_THAT(ask(port, "GET /metrics HTTP/1.1\r\nHost: x\r\n\r\n"), ::testing::StartsWith("HTTP/1.1 503 "));
    first.abort();
    ASSERT_TRUE(spinUntil([this] { return server_->openConnections() == 1; }));
    EXPECT_THAT(ask(port, "GET /metrics HTTP/1.1\r\nHost: x\r\n\r\n"), ::testing::StartsWith("HTTP/1.1 200 "));
}

TEST_F(StatusServerTest, ClosesAnIdleConnection) {
    const auto port = start({.idle = std::chrono::milliseconds(50)});
    QTcpSocket idle;
    idle.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(spinUntil([this] { return server_->openConnections() == 1; }));
    EXPECT_TRUE(spinUntil([&] { return idle.state() == QAbstractSocket::UnconnectedState; }));
    EXPECT_EQ(server_->openConnections(), 0);
}

TEST_F(StatusServerTest, HostileTextStaysAJsonString) {
    const std::string hostile = "<script>alert(\"x\")</script>'\x01\x1b[31m\x7f\xff\xfe end";
    FakeHostReport report;
    report.feeds.emplace_back().lastError = hostile;
    const QByteArray json = statusJson({report, *tracker_, clock_, [] { return std::string("40"); }, "1", started_},
                                       std::chrono::system_clock::now());

    EXPECT_FALSE(std::any_of(json.begin(), json.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }));
    EXPECT_TRUE(json.contains(R"(\u003cscript\u003ealert(\"x\")\u003c/script\u003e')")) << json.toStdString();
    EXPECT_TRUE(json.contains(R"(\u0001\u001b[31m)")) << json.toStdString();
    const QString shown = QJsonDocument::fromJson(json).object()["feeds"].toArray()[0].toObject()["lastError"].toString();
    EXPECT_EQ(shown, QString::fromUtf8("<script>alert(\"x\")</script>'\x01\x1b[31m\x7f\uFFFD\uFFFD end"));
}

}  // namespace
}  // namespace ovelsk::testing
