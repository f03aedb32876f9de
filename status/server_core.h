#pragma once
// The side of the status page's server that runs on its own thread: the
// listening socket, the open connections, and the snapshot they all answer
// from. The event loop only ever publishes a new snapshot into it; the thread
// only ever asks for one. Neither waits for the other.

#include <QByteArray>
#include <atomic>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "status/host_rule.h"
#include "status/server_counts.h"
#include "status/server_limits.h"
#include "status/status_snapshot.h"

namespace ovelsk {

class HttpConnection;

// A path the page answers, with its content: built in, or a part of the snapshot.
struct Resource {
    std::string_view path;
    std::string_view type;
    QByteArray builtIn;
    QByteArray StatusSnapshot::*part = nullptr;
};

class ServerCore {
public:
    // `askForSnapshot` is called on the server's thread and must only post the
    // work to the event loop, which then calls publish().
    ServerCore(ServerLimits limits, HostRule hosts, std::vector<Resource> resources,
               std::function<void()> askForSnapshot);
    ~ServerCore();

    // On the event loop, before start().
    std::optional<std::string> listen(const boost::asio::ip::address& address, std::uint16_t port);
    std::uint16_t port() const { return port_; }
    void start();

    // Any thread.
    std::shared_ptr<const StatusSnapshot> snapshot() const { return snapshot_.load(); }
    void publish(std::shared_ptr<const StatusSnapshot> snapshot);

    // The server's thread.
    const Resource* find(std::string_view path) const;
    // Asks the event loop for a new snapshot, once however many connections
    // ask before it is in.
    void askForSnapshot();
    // Calls waiting->wake() once the next snapshot is in.
    void wakeWhenPublished(std::weak_ptr<HttpConnection> waiting);

    const ServerLimits limits;
    const HostRule hosts;
    ServerCounts counts;
    std::atomic<int> open{0};

private:
    void accept();
    void wakeWaiting();

    const std::vector<Resource> resources_;
    const std::function<void()> askForSnapshot_;
    std::atomic<std::shared_ptr<const StatusSnapshot>> snapshot_;
    std::atomic<bool> asked_{false};
    std::vector<std::weak_ptr<HttpConnection>> waiting_;
    std::uint16_t port_ = 0;
    std::thread thread_;

public:
    // Last, so it goes first: the connections its handlers hold still find the rest.
    boost::asio::io_context io;

private:
    boost::asio::ip::tcp::acceptor acceptor_{io};
    boost::asio::steady_timer acceptPause_{io};
};

}  // namespace ovelsk
