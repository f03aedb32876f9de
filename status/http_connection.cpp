#include "status/http_connection.h"

#include <boost/asio/write.hpp>
#include <boost/beast/http/error.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/write.hpp>
#include <string>

#include "status/safety_headers.h"

namespace ovelsk {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using asio::ip::tcp;

namespace {

constexpr std::string_view kPlainText = "text/plain; charset=utf-8";
constexpr std::size_t kFirstRead = 4096;

// Shuts the sending side (the peer sees the end of the answer at once), reads
// away what the peer sent unasked, then closes: bytes left unread at close would
// reset the connection and could cut short an answer still on its way.
void closeGently(tcp::socket& socket) {
    boost::system::error_code ignored;
    socket.shutdown(tcp::socket::shutdown_send, ignored);
    socket.non_blocking(true, ignored);
    char unread[4096];
    for (int i = 0; i < 16 && !ignored; ++i) socket.read_some(asio::buffer(unread), ignored);
    socket.close(ignored);
}

std::string busyAnswer() {
    const std::string body = "every connection of the status page is taken; try again shortly\n";
    std::string answer = "HTTP/1.1 503 Service Unavailable\r\n";
    for (const auto& [name, value] : kSafetyHeaders) answer += std::string(name) + ": " + value + "\r\n";
    return answer + "Content-Type: " + std::string(kPlainText) + "\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

}  // namespace

void turnAway(tcp::socket socket) {
    static const std::string answer = busyAnswer();
    boost::system::error_code ignored;
    // A new connection's send buffer is empty: the answer goes in one write or not at all.
    socket.non_blocking(true, ignored);
    socket.write_some(asio::buffer(answer), ignored);
    closeGently(socket);
}

HttpConnection::HttpConnection(tcp::socket socket, ServerCore& core)
    : core_(core), stream_(std::move(socket)), buffer_(core.limits.readAhead), freshWait_(stream_.get_executor()) {
    ++core_.open;
}

HttpConnection::~HttpConnection() { --core_.open; }

void HttpConnection::awaitRequest() {
    // Requests the client sent ahead are already here: their deadline runs now.
    if (buffer_.size() > 0) return readHead();
    stream_.expires_after(core_.limits.idle);
    stream_.async_read_some(buffer_.prepare(kFirstRead),
                            [self = shared_from_this()](boost::system::error_code error, std::size_t bytes) {
                                if (error) return self->close();
                                self->buffer_.commit(bytes);
                                self->readHead();
                            });
}

void HttpConnection::readHead() {
    parser_.emplace();
    parser_->header_limit(static_cast<std::uint32_t>(core_.limits.headerBytes));
    parser_->body_limit(0);  // a Content-Length above 0 is an error of the head
    head_ = false;
    closeAfter_ = false;
    stream_.expires_after(core_.limits.requestDeadline);
    http::async_read_header(stream_, buffer_, *parser_,
                            [self = shared_from_this()](boost::system::error_code error, std::size_t) {
                                self->onHead(error);
                            });
}

void HttpConnection::onHead(boost::system::error_code error) {
    if (error == beast::error::timeout) {
        ++core_.counts.refusedAtDeadline;
        return close();
    }
    if (error == http::error::header_limit || error == http::error::buffer_overflow)
        return refuse(Status::request_header_fields_too_large, "the request line and headers pass 8 KiB\n");
    if (error == http::error::body_limit) return refuse(Status::payload_too_large, "a request with a body\n");
    if (error == http::error::end_of_stream || error == http::error::partial_message || error == asio::error::eof ||
        error == asio::error::connection_reset || error == asio::error::operation_aborted)
        return close();
    if (error) return refuse(Status::bad_request, "not an HTTP/1 request\n");
    answer();
}

void HttpConnection::answer() {
    const auto& request = parser_->get();
    response_.version(request.version());
    head_ = request.method() == http::verb::head;
    closeAfter_ = !request.keep_alive();

    if (request.count(http::field::transfer_encoding) > 0 || parser_->content_length().value_or(0) > 0)
        return refuse(Status::payload_too_large, "a request with a body\n");
    const auto hosts = request.count(http::field::host);
    if (hosts > 1 || (hosts == 0 && request.version() >= 11))
        return refuse(Status::bad_request, "an HTTP/1.1 request needs one Host header\n");
    if (hosts == 1 && !core_.hosts.allows(request[http::field::host])) {
        ++core_.counts.refusedForHost;
        return refuse(Status::misdirected_request,
                      "the status page answers to its IP address, localhost and this machine's name; "
                      "add other names to the Status Page Names setting\n");
    }
    std::string_view path = request.target();
    path = path.substr(0, path.find('?'));
    resource_ = core_.find(path);
    if (!resource_) return send(Status::not_found, kPlainText, "not found\n");
    if (request.method() != http::verb::get && !head_) {
        response_.set(http::field::allow, "GET, HEAD");
        return send(Status::method_not_allowed, kPlainText, "only GET and HEAD\n");
    }
    if (!resource_->part) return send(Status::ok, resource_->type, {resource_->builtIn.constData(),
                                                                     static_cast<std::size_t>(resource_->builtIn.size())});
    answerFromSnapshot();
}

// A snapshot older than its age is rebuilt first, unless the event loop takes
// longer than freshWait to do it: then the answer is the old snapshot, as the
// page must answer at once while the iGate is busy.
void HttpConnection::answerFromSnapshot() {
    auto snapshot = core_.snapshot();
    const bool stale = !snapshot || std::chrono::steady_clock::now() - snapshot->built >= core_.limits.snapshotAge;
    if (stale && !waitedForSnapshot_) {
        waitedForSnapshot_ = true;
        if (!std::exchange(listedForWake_, true)) core_.wakeWhenPublished(weak_from_this());
        core_.askForSnapshot();
        freshWait_.expires_after(core_.limits.freshWait);
        freshWait_.async_wait([self = shared_from_this()](boost::system::error_code) { self->answerFromSnapshot(); });
        return;
    }
    waitedForSnapshot_ = false;
    if (!snapshot) return refuse(Status::service_unavailable, "the status page is starting\n");
    answering_ = std::move(snapshot);
    const QByteArray& part = (*answering_).*(resource_->part);
    send(Status::ok, resource_->type, {part.constData(), static_cast<std::size_t>(part.size())});
}

void HttpConnection::wake() {
    listedForWake_ = false;
    freshWait_.cancel();
}

void HttpConnection::refuse(Status status, std::string_view body) {
    closeAfter_ = true;
    send(status, kPlainText, body);
}

void HttpConnection::send(Status status, std::string_view type, std::string_view body) {
    response_.result(status);
    for (const auto& [name, value] : kSafetyHeaders) response_.set(name, value);
    response_.set(http::field::content_type, type);
    // HEAD tells the length GET would send.
    response_.content_length(body.size());
    response_.body() = head_ ? beast::span<const char>() : beast::span<const char>(body.data(), body.size());
    response_.keep_alive(!closeAfter_);
    // Nothing is read while the answer is unsent; a client that does not take it is closed.
    stream_.expires_after(core_.limits.answerDeadline);
    http::async_write(stream_, response_, [self = shared_from_this()](boost::system::error_code error, std::size_t) {
        self->onSent(error);
    });
}

void HttpConnection::onSent(boost::system::error_code error) {
    response_ = {};
    answering_.reset();
    if (error == beast::error::timeout) ++core_.counts.closedNotReading;
    if (error || closeAfter_) return close();
    awaitRequest();
}

void HttpConnection::close() { closeGently(stream_.socket()); }

}  // namespace ovelsk
