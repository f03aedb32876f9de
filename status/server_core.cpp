#include "status/server_core.h"

#include <boost/asio/post.hpp>
#include <cerrno>

#include "status/http_connection.h"

namespace ovelsk {

namespace asio = boost::asio;
using asio::ip::tcp;

ServerCore::ServerCore(ServerLimits limits, HostRule hosts, std::vector<Resource> resources,
                       std::function<void()> askForSnapshot)
    : limits(limits), hosts(std::move(hosts)), resources_(std::move(resources)),
      askForSnapshot_(std::move(askForSnapshot)) {}

ServerCore::~ServerCore() {
    io.stop();
    if (thread_.joinable()) thread_.join();
}

std::optional<std::string> ServerCore::listen(const asio::ip::address& address, std::uint16_t port) {
    boost::system::error_code error;
    const tcp::endpoint endpoint(address, port);
    if (acceptor_.open(endpoint.protocol(), error) || acceptor_.set_option(tcp::acceptor::reuse_address(true), error) ||
        acceptor_.bind(endpoint, error) || acceptor_.listen(asio::socket_base::max_listen_connections, error))
        return error.message();
    port_ = acceptor_.local_endpoint().port();
    return std::nullopt;
}

void ServerCore::start() {
    accept();
    thread_ = std::thread([this] { io.run(); });
}

void ServerCore::accept() {
    acceptor_.async_accept([this](boost::system::error_code error, tcp::socket socket) {
        if (error == asio::error::operation_aborted) return;
        if (error == asio::error::no_descriptors || error.value() == ENFILE ||
            error == asio::error::no_buffer_space || error == asio::error::no_memory) {
            // Out of file descriptors: the waiting connections stay queued in
            // the kernel until some close.
            acceptPause_.expires_after(std::chrono::milliseconds(100));
            acceptPause_.async_wait([this](boost::system::error_code) { accept(); });
            return;
        }
        if (!error) {
            if (open.load() >= limits.connections) {
                ++counts.refusedAtCap;
                turnAway(std::move(socket));
            } else {
                std::make_shared<HttpConnection>(std::move(socket), *this)->start();
            }
        }
        accept();
    });
}

const Resource* ServerCore::find(std::string_view path) const {
    for (const auto& resource : resources_)
        if (resource.path == path) return &resource;
    return nullptr;
}

void ServerCore::askForSnapshot() {
    if (!asked_.exchange(true)) askForSnapshot_();
}

void ServerCore::wakeWhenPublished(std::weak_ptr<HttpConnection> waiting) { waiting_.push_back(std::move(waiting)); }

void ServerCore::publish(std::shared_ptr<const StatusSnapshot> snapshot) {
    snapshot_.store(std::move(snapshot));
    asked_.store(false);
    asio::post(io, [this] { wakeWaiting(); });
}

void ServerCore::wakeWaiting() {
    for (const auto& waiting : std::exchange(waiting_, {}))
        if (const auto connection = waiting.lock()) connection->wake();
}

}  // namespace ovelsk
