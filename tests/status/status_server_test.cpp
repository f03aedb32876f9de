// The status page's server: what it answers, what it refuses, how long a client
// may hold it, and that text from the network reaches the page only as JSON strings.
#include <QHostInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpSocket>
#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <sys/socket.h>
#include <unistd.h>

#include "status/status_fixture.h"
#include "status/status_json.h"
#include "status/status_server.h"
#include "support/fake_host_report.h"

namespace ovelsk::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

std::size_t countOf(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

// True once `answer` holds one whole answer: its head and as much body as Content-Length says.
bool wholeAnswer(const std::string& answer) {
    const auto end = answer.find("\r\n\r\n");
    if (end == std::string::npos) return false;
    const auto length = answer.find("Content-Length: ");
    if (length == std::string::npos || length > end) return true;
    return answer.size() >= end + 4 + std::stoul(answer.substr(length + 16));
}

struct Reply {
    std::string bytes;
    bool closed = false;
};

// Sends `request` (and with `halfClose` shuts the sending side), then reads until
// `enough` holds of what came back or the server closes.
Reply exchange(std::uint16_t port, const std::string& request,
               const std::function<bool(const std::string&)>& enough = wholeAnswer, bool halfClose = false) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    socket.write(request.data(), static_cast<qint64>(request.size()));
    if (halfClose) {
        EXPECT_TRUE(socket.waitForBytesWritten());
        ::shutdown(static_cast<int>(socket.socketDescriptor()), SHUT_WR);
    }
    Reply reply;
    EXPECT_TRUE(spinUntil([&] {
        reply.bytes += socket.readAll().toStdString();
        reply.closed = socket.state() == QAbstractSocket::UnconnectedState;
        return reply.closed || enough(reply.bytes);
    })) << request.substr(0, 60);
    return reply;
}

std::string ask(std::uint16_t port, const std::string& request) { return exchange(port, request).bytes; }

std::string get(const std::string& path, const std::string& host = "127.0.0.1") {
    return "GET " + path + " HTTP/1.1\r\nHost: " + host + "\r\n\r\n";
}

class StatusServerTest : public StatusFixture {
protected:
    std::uint16_t start(ServerLimits limits = {}, std::vector<std::string> names = {}) {
        return start(sources(), limits, std::move(names));
    }
    std::uint16_t start(StatusSources sources, ServerLimits limits, std::vector<std::string> names = {}) {
        server_ = std::make_unique<StatusServer>(std::move(sources), limits);
        EXPECT_EQ(server_->listen({"127.0.0.1", 0, std::move(names)}), std::nullopt);
        return server_->port();
    }
    std::unique_ptr<StatusServer> server_;
};

TEST_F(StatusServerTest, AnswersGetAndHeadAlikeWithTheSafetyHeaders) {
    const auto port = start();
    struct Case {
        const char* path;
        const char* type;
    };
    const Case cases[] = {{"/", "text/html"},          {"/app.js", "text/javascript"}, {"/app.css", "text/css"},
                          {"/api/status", "application/json"}, {"/metrics", "text/plain; version=0.0.4"},
                          {"/radar.png", "image/png"}};
    for (const auto& c : cases) {
        const std::string got = ask(port, get(c.path));
        const std::string head =
            exchange(port, "HEAD " + std::string(c.path) + " HTTP/1.1\r\nHost: localhost\r\n\r\n" + get("/app.css"),
                     [](const std::string& bytes) { return countOf(bytes, "HTTP/1.1 ") == 2; })
                .bytes;
        EXPECT_THAT(got, StartsWith("HTTP/1.1 200 ")) << c.path;
        EXPECT_THAT(got, HasSubstr("Content-Type: " + std::string(c.type)));
        const auto body = got.find("\r\n\r\n") + 4;
        EXPECT_THAT(head, HasSubstr("Content-Length: " + std::to_string(got.size() - body) + "\r\n")) << c.path;
        // The next answer follows the head at once.
        EXPECT_EQ(head.find("HTTP/1.1 ", 1), head.find("\r\n\r\n") + 4) << "HEAD has a body: " << c.path;
    }
}

// Every attack on the request's form gets one answer, with the safety headers.
TEST_F(StatusServerTest, RefusesWhatIsNotAPlainGetWithTheSafetyHeaders) {
    const auto port = start({}, {"igate.lan"});
    struct Case {
        const char* what;
        std::string request;
        const char* status;
    };
    const std::string pad(9000, 'a');
    const Case cases[] = {
        {"POST", "POST /api/status HTTP/1.1\r\nHost: localhost\r\nContent-Length: 0\r\n\r\n", "HTTP/1.1 405 "},
        {"DELETE", "DELETE / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n", "HTTP/1.1 405 "},
        {"TRACE", "TRACE / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n", "HTTP/1.1 405 "},
        {"PROPFIND", "PROPFIND /metrics HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n", "HTTP/1.1 405 "},
        {"BREW", "BREW / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n", "HTTP/1.1 405 "},
        {"lower-case get", "get / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n", "HTTP/1.1 405 "},
        {"unknown path", get("/igate.ini"), "HTTP/1.1 404 "},
        {"a path like a known one", get("/appXjs"), "HTTP/1.1 404 "},
        {"headers over 8 KiB", "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Pad: " + pad + "\r\n\r\n", "HTTP/1.1 431 "},
        {"request line over 8 KiB", "GET /" + pad + " HTTP/1.1\r\n\r\n", "HTTP/1.1 431 "},
        {"a small body", "GET /api/status HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 5\r\n\r\nhello", "HTTP/1.1 413 "},
        {"a body of 100 GB, never sent", "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 100000000000\r\n\r\n",
         "HTTP/1.1 413 "},
        {"a chunked body, never sent", "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nTransfer-Encoding: chunked\r\n\r\n",
         "HTTP/1.1 413 "},
        {"a rebound name", get("/api/status", "evil.example"), "HTTP/1.1 421 "},
        {"a rebound name with a port", get("/api/status", "evil.example:8080"), "HTTP/1.1 421 "},
        {"HTTP/1.1 without Host", "GET / HTTP/1.1\r\n\r\n", "HTTP/1.1 400 "},
        {"two Hosts", "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nHost: evil.example\r\n\r\n", "HTTP/1.1 400 "},
        {"not HTTP", "\x16\x03\x01\x02\x00\x01\x00\x01\xfc\x03\x03\r\n\r\n", "HTTP/1.1 400 "},
        {"HTTP/1.0 without Host", "GET / HTTP/1.0\r\n\r\n", "HTTP/1.0 200 "},
        {"a name of Status Page Names", get("/", "IGATE.lan:8080"), "HTTP/1.1 200 "},
        {"this machine's name", get("/", QHostInfo::localHostName().toStdString() + ".local"), "HTTP/1.1 200 "},
    };
    for (const auto& c : cases) {
        const std::string answer = ask(port, c.request);
        EXPECT_THAT(answer, StartsWith(c.status)) << c.what;
        EXPECT_THAT(answer, HasSubstr("Content-Security-Policy: default-src 'self'; img-src 'self'; "
                                      "frame-ancestors 'none'\r\n")) << c.what;
        EXPECT_THAT(answer, HasSubstr("X-Frame-Options: DENY\r\n")) << c.what;
        EXPECT_THAT(answer, HasSubstr("X-Content-Type-Options: nosniff\r\n")) << c.what;
        EXPECT_THAT(answer, HasSubstr("Cache-Control: no-store\r\n")) << c.what;
        if (std::string_view(c.status).ends_with("405 ")) {
            EXPECT_THAT(answer, HasSubstr("Allow: GET, HEAD\r\n")) << c.what;
        }
        if (std::string_view(c.status).ends_with("421 ")) {
            EXPECT_THAT(answer, HasSubstr("Status Page Names")) << c.what;
        }
    }
    EXPECT_EQ(server_->counts().refusedForHost, 2u);
}

// Each is answered once and then closed at once, not when the connection idles out.
TEST_F(StatusServerTest, ClosesRightAfterTheAnswerWhenTheClientAsks) {
    const auto port = start({.idle = std::chrono::hours(1)});
    struct Case {
        const char* what;
        std::string request;
        bool halfClose;
    };
    const Case cases[] = {
        {"Connection: close", "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n", false},
        {"HTTP/1.0", "GET / HTTP/1.0\r\n\r\n", false},
        {"half-closed", get("/"), true},
        {"Upgrade", "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\nConnection: Upgrade, close\r\n\r\n",
         false},
    };
    for (const auto& c : cases) {
        const Reply reply = exchange(port, c.request, [](const std::string&) { return false; }, c.halfClose);
        EXPECT_TRUE(reply.closed) << c.what;
        EXPECT_EQ(countOf(reply.bytes, "HTTP/1."), 1u) << c.what << "\n" << reply.bytes.substr(0, 300);
        EXPECT_TRUE(wholeAnswer(reply.bytes)) << c.what;
    }
}

TEST_F(StatusServerTest, AnswersPipelinedRequestsInTurn) {
    const auto port = start();
    const Reply reply = exchange(port, get("/app.css") + get("/nothing") + get("/app.js"),
                                 [](const std::string& bytes) { return countOf(bytes, "HTTP/1.1 ") == 3; });
    const auto css = reply.bytes.find("HTTP/1.1 200 "), missing = reply.bytes.find("HTTP/1.1 404 "),
               js = reply.bytes.rfind("HTTP/1.1 200 ");
    EXPECT_LT(css, missing);
    EXPECT_LT(missing, js);
    EXPECT_THAT(reply.bytes.substr(js), HasSubstr("text/javascript"));
}

TEST_F(StatusServerTest, AnswersTheSeventeenthConnection503) {
    const auto port = start({.connections = 2});
    QTcpSocket first, second;
    for (auto* socket : {&first, &second}) socket->connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(spinUntil([this] { return server_->openConnections() == 2; }));

    EXPECT_THAT(ask(port, get("/metrics")), StartsWith("HTTP/1.1 503 "));
    EXPECT_EQ(server_->counts().refusedAtCap, 1u);
    first.abort();
    ASSERT_TRUE(spinUntil([this] { return server_->openConnections() == 1; }));
    EXPECT_THAT(ask(port, get("/metrics")), StartsWith("HTTP/1.1 200 "));
}

// Slowloris: a byte now and then does not keep the connection past its deadline.
TEST_F(StatusServerTest, ClosesARequestWhoseHeadIsNotWholeByItsDeadline) {
    start({.requestDeadline = std::chrono::milliseconds(300)});
    QTcpSocket slow;
    slow.connectToHost(QHostAddress::LocalHost, server_->port());
    QTimer drip;
    QObject::connect(&drip, &QTimer::timeout, [&slow] { slow.write("X"); });
    slow.write("GET / HTTP/1.1\r\n");
    drip.start(20);
    EXPECT_TRUE(spinUntil([&] { return slow.state() == QAbstractSocket::UnconnectedState; }));
    // The stream closes the socket at the deadline before the read's handler counts it.
    EXPECT_TRUE(spinUntil([this] { return server_->counts().refusedAtDeadline == 1u; }));
}

TEST_F(StatusServerTest, ClosesAConnectionThatSendsNothing) {
    const auto port = start({.idle = std::chrono::milliseconds(50)});
    QTcpSocket idle;
    idle.connectToHost(QHostAddress::LocalHost, port);
    EXPECT_TRUE(spinUntil([&] { return idle.state() == QAbstractSocket::UnconnectedState; }));
    EXPECT_TRUE(spinUntil([this] { return server_->openConnections() == 0; }));
}

// 2,000 pipelined requests never read: the client is closed, and counted, once
// it has not taken an answer for the answer deadline.
TEST_F(StatusServerTest, ClosesAClientThatDoesNotReadItsAnswers) {
    start({.answerDeadline = std::chrono::milliseconds(300)});
    const int client = ::socket(AF_INET, SOCK_STREAM, 0);
    const int small = 4096;
    ::setsockopt(client, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(server_->port());
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    // More answers than the socket buffers between us hold (12 MB of /app.js).
    std::string requests;
    for (int i = 0; i < 2000; ++i) requests += get("/app.js");
    EXPECT_TRUE(spinUntil([&] {
        const auto sent = ::send(client, requests.data(), requests.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
        if (sent > 0) requests.erase(0, static_cast<std::size_t>(sent));
        return server_->counts().closedNotReading == 1u;
    }));
    EXPECT_TRUE(spinUntil([this] { return server_->openConnections() == 0; }));
    ::close(client);
}

// An iGate nobody looks at builds nothing; a request that finds the data older
// than its age gets it rebuilt, and one that finds the event loop busy gets the
// old data without waiting for it.
TEST_F(StatusServerTest, RebuildsTheDataOnlyWhenARequestFindsItOld) {
    FakeHostReport report;
    report.feeds.emplace_back().name = "demo";
    const StatusSources sources{report, *tracker_, clock_, [] { return std::string("40"); }, "1", started_};
    const auto packets = [](const std::string& answer) { return answer.substr(answer.find("feed=\"demo\"}")); };

    const auto fresh = start(sources, {.snapshotAge = std::chrono::hours(1)});
    ask(fresh, get("/api/status"));
    ask(fresh, get("/"));
    report.feeds[0].packets = 7;
    EXPECT_THAT(packets(ask(fresh, get("/metrics"))), StartsWith("feed=\"demo\"} 0\n"));
    EXPECT_EQ(server_->snapshotsBuilt(), 1);

    const auto old = start(sources, {.snapshotAge = std::chrono::milliseconds(0)});
    report.feeds[0].packets = 8;
    EXPECT_THAT(packets(ask(old, get("/metrics"))), StartsWith("feed=\"demo\"} 8\n"));

    // Asked without the event loop running.
    report.feeds[0].packets = 9;
    const int client = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(old);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const std::string request = get("/metrics");
    ::send(client, request.data(), request.size(), 0);
    std::string answer;
    char bytes[4096];
    while (!wholeAnswer(answer)) {
        const auto got = ::recv(client, bytes, sizeof bytes, 0);
        ASSERT_GT(got, 0);
        answer.append(bytes, static_cast<std::size_t>(got));
    }
    ::close(client);
    EXPECT_THAT(packets(answer), StartsWith("feed=\"demo\"} 8\n"));
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
