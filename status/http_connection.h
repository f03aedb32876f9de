#pragma once
// One client of the status page: read a request's head, answer it, and only
// then read the next, each step under its own deadline (server_limits.h).
// A request is never read past its head: one that announces a body is refused.
// What the connection holds is its read-ahead buffer, the head being parsed
// and the answer's head; the answer's body is the shared snapshot's.

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/empty_body.hpp>
#include <boost/beast/http/message.hpp>
#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/span_body.hpp>
#include <memory>
#include <optional>
#include <string_view>

#include "status/server_core.h"

namespace ovelsk {

class HttpConnection : public std::enable_shared_from_this<HttpConnection> {
public:
    HttpConnection(boost::asio::ip::tcp::socket socket, ServerCore& core);
    ~HttpConnection();

    void start() { awaitRequest(); }
    // The snapshot it waits for is in.
    void wake();

private:
    using Status = boost::beast::http::status;

    void awaitRequest();
    void readHead();
    void onHead(boost::system::error_code error);
    void answer();
    void answerFromSnapshot();
    void send(Status status, std::string_view type, std::string_view body);
    void refuse(Status status, std::string_view body);
    void onSent(boost::system::error_code error);
    void close();

    ServerCore& core_;
    boost::beast::tcp_stream stream_;
    boost::beast::flat_buffer buffer_;
    std::optional<boost::beast::http::request_parser<boost::beast::http::empty_body>> parser_;
    boost::beast::http::response<boost::beast::http::span_body<const char>> response_;
    std::shared_ptr<const StatusSnapshot> answering_;  // what the answer's body points into
    boost::asio::steady_timer freshWait_;
    const Resource* resource_ = nullptr;
    bool head_ = false;
    bool closeAfter_ = false;
    bool waitedForSnapshot_ = false;
    bool listedForWake_ = false;
};

// Answers 503 and closes, without waiting for the client.
void turnAway(boost::asio::ip::tcp::socket socket);

}  // namespace ovelsk
