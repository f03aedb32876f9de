// links: ovelsk_status
// Serving the status page never slows the iGate. An APRS-IS server on 127.0.0.1
// sends position lines to a host with the station tracker behind it, as the
// program runs; each line's latency is from the server's write to the status
// line the tracker sets for it. Measured with the page idle, and again while
// clients keep 10,000 pipelined keep-alive requests and 5,000 new connections
// in flight against it. Then the page's answer time while the gate is busy: the
// server floods the feed as fast as the socket allows while a client asks for
// /api/status every 20 ms on a new connection.
//
// Everything goes to 127.0.0.1 and each run is bounded in count and time.

#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "quiet_window.h"
#include "standin/create_standin_host.h"
#include "stations/station_tracker.h"
#include "status/status_server.h"

namespace ovelsk {
namespace {

using SteadyClock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr int kLatencyLines = 300;
constexpr int kLatencyCallsigns = 100;  // fewer than the tracker's 151 slots
constexpr auto kLineGap = std::chrono::milliseconds(10);
constexpr int kKeepAliveConnections = 16;
constexpr int kKeepAliveRequests = 10'000;
constexpr int kNewConnections = 5'000;
constexpr int kProbes = 100;

QCoreApplication& eventLoop() {
    static int argc = 1;
    static char name[] = "bench_status_server_load";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

// Runs the event loop until `done`.
void spin(const std::function<bool()>& done) {
    QTimer wakeUp;
    wakeUp.start(5);
    while (!done()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

int connectTo(std::uint16_t port, bool nonBlocking) {
    const int fd = socket(AF_INET, SOCK_STREAM | (nonBlocking ? SOCK_NONBLOCK : 0), 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    return fd;
}

double percentile(std::vector<double> values, double share) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(share * static_cast<double>(values.size())))];
}

// The APRS-IS server: accepts the feed's connection and hands it to `talk`.
class AprsIsPeer {
public:
    AprsIsPeer() {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(listener_, 1) != 0 ||
            getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            std::abort();
        port_ = ntohs(address.sin_port);
    }
    ~AprsIsPeer() {
        if (thread_.joinable()) thread_.join();
        if (connection_ >= 0) close(connection_);
        close(listener_);
    }
    std::uint16_t port() const { return port_; }
    void run(std::function<void(int)> talk) {
        thread_ = std::thread([this, talk = std::move(talk)] {
            if (connection_ < 0) connection_ = accept(listener_, nullptr, nullptr);
            talk(connection_);
        });
    }
    void wait() { thread_.join(); }

private:
    int listener_ = -1;
    int connection_ = -1;
    std::uint16_t port_ = 0;
    std::thread thread_;
};

void sendAll(int fd, const std::string& text) {
    for (std::size_t sent = 0; sent < text.size();) {
        const auto n = send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += static_cast<std::size_t>(n);
    }
}

std::string latencyCallsign(int line) { return "LAT" + std::to_string(line % kLatencyCallsigns); }

// The window as the tracker sees it, noting when each latency line's status line is set.
class TimingWindow final : public TrackerWindow {
public:
    std::string rangeText() const override { return "40"; }
    void setStatus(const std::string& text) override {
        if (!text.starts_with("LAT")) return;
        const int callsign = std::stoi(text.substr(3));
        const int line = callsign + kLatencyCallsigns * seen_[static_cast<std::size_t>(callsign)]++;
        if (line < kLatencyLines) arrived[static_cast<std::size_t>(line)] = SteadyClock::now();
        ++statusLines;
    }
    void replaceCandidateRows(const std::vector<std::string>&) override {}

    std::vector<SteadyClock::time_point> arrived = std::vector<SteadyClock::time_point>(kLatencyLines);
    int statusLines = 0;

private:
    std::vector<int> seen_ = std::vector<int>(kLatencyCallsigns);
};

// A host on an APRS-IS feed from `peer`, with the tracker and the status page on it.
struct RunningIgate {
    explicit RunningIgate(const AprsIsPeer& peer, ServerLimits limits = {}) {
        eventLoop();
        folder = std::filesystem::temp_directory_path() / ("ovelsk-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        std::ofstream(folder / "settings.ini") << "[UI-View32]\nLatitude=40.015\nLongitude=-105.2705\nCallsign=N0CALL-10\n"
                                                  "Feeds=aprs-is:127.0.0.1:"
                                               << peer.port() << "\n";
        standin::StandinStartup startup;
        startup.settingsFile = folder / "settings.ini";
        startup.firstStartWhenMissing = false;
        auto created = standin::createStandinHost(startup);
        if (!std::holds_alternative<std::unique_ptr<standin::StandinHost>>(created)) std::abort();
        host = std::move(std::get<std::unique_ptr<standin::StandinHost>>(created));
        tracker = std::make_unique<StationTracker>(window, *host, gateway, clock, clock.now() - kNeverHeardDaysBack);
        host->bindNotifyBeaconData([this](const StationObject& station) { tracker->mUIV_NotifyBeaconData(station); });
        bool on = true;
        host->enable(on);
        page = std::make_unique<StatusServer>(
            StatusSources{*host, *tracker, clock, [] { return std::string("40"); }, "1.0.0", std::chrono::system_clock::now()},
            limits);
        if (page->listen({"127.0.0.1", 0})) std::abort();
    }
    ~RunningIgate() {
        page.reset();
        std::filesystem::remove_all(folder);
    }

    std::filesystem::path folder;
    SystemClock clock;
    TimingWindow window;
    NoGateway gateway;
    std::unique_ptr<standin::StandinHost> host;
    std::unique_ptr<StationTracker> tracker;
    std::unique_ptr<StatusServer> page;
};

// Writes the latency lines kLineGap apart, noting when each was written.
std::vector<SteadyClock::time_point> sendLatencyLines(int fd) {
    std::vector<SteadyClock::time_point> written(kLatencyLines);
    char line[128];
    for (int i = 0; i < kLatencyLines; ++i) {
        std::this_thread::sleep_for(kLineGap);
        const int length = std::snprintf(line, sizeof line, "%s>APRS,TCPIP*,qAC,T2TEST:!4005.%02dN/10512.00W-\r\n",
                                         latencyCallsign(i).c_str(), i % 60);
        written[static_cast<std::size_t>(i)] = SteadyClock::now();
        sendAll(fd, std::string(line, static_cast<std::size_t>(length)));
    }
    return written;
}

struct HttpLoad {
    std::atomic<bool> stop{false};
    std::atomic<long> keepAliveAnswers{0};
    std::atomic<long> newConnections{0};
    std::atomic<long> busyAnswers{0};
};

// Rounds of kKeepAliveRequests pipelined over kKeepAliveConnections, read as they come.
void keepAliveLoad(std::uint16_t port, HttpLoad& load) {
    const std::string request = "GET /api/status HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    while (!load.stop) {
        std::vector<pollfd> fds;
        std::vector<std::string> pending;
        for (int i = 0; i < kKeepAliveConnections; ++i) {
            fds.push_back({connectTo(port, true), POLLIN | POLLOUT, 0});
            std::string all;
            for (int r = 0; r < kKeepAliveRequests / kKeepAliveConnections; ++r) all += request;
            pending.push_back(std::move(all));
        }
        std::vector<std::string> tails(fds.size());
        const auto until = SteadyClock::now() + std::chrono::seconds(20);
        int open = kKeepAliveConnections;
        long answers = 0;
        char buffer[65536];
        while (open > 0 && !load.stop && SteadyClock::now() < until &&
               answers < kKeepAliveRequests) {
            poll(fds.data(), fds.size(), 50);
            for (std::size_t i = 0; i < fds.size(); ++i) {
                if (fds[i].fd < 0) continue;
                if ((fds[i].revents & POLLOUT) && !pending[i].empty()) {
                    const auto n = send(fds[i].fd, pending[i].data(), pending[i].size(), MSG_NOSIGNAL | MSG_DONTWAIT);
                    if (n > 0) pending[i].erase(0, static_cast<std::size_t>(n));
                    if (pending[i].empty()) fds[i].events = POLLIN;
                }
                if (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) {
                    const auto n = recv(fds[i].fd, buffer, sizeof buffer, MSG_DONTWAIT);
                    if (n <= 0) {
                        close(fds[i].fd);
                        fds[i].fd = -1;
                        --open;
                        continue;
                    }
                    std::string text = tails[i] + std::string(buffer, static_cast<std::size_t>(n));
                    for (auto at = text.find("HTTP/1.1 200"); at != std::string::npos; at = text.find("HTTP/1.1 200", at + 1))
                        ++answers, ++load.keepAliveAnswers;
                    tails[i] = text.substr(text.size() > 11 ? text.size() - 11 : 0);
                }
            }
        }
        for (const auto& fd : fds)
            if (fd.fd >= 0) close(fd.fd);
    }
}

// Rounds of kNewConnections opened at once, each sending one request and
// reading until the server closes.
void newConnectionLoad(std::uint16_t port, HttpLoad& load) {
    const std::string request = "GET /api/status HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
    while (!load.stop) {
        std::vector<pollfd> fds;
        std::vector<bool> sent(kNewConnections);
        for (int i = 0; i < kNewConnections; ++i) fds.push_back({connectTo(port, true), POLLOUT, 0});
        int open = kNewConnections;
        const auto until = SteadyClock::now() + std::chrono::seconds(20);
        char buffer[4096];
        while (open > 0 && !load.stop && SteadyClock::now() < until) {
            poll(fds.data(), fds.size(), 50);
            for (std::size_t i = 0; i < fds.size(); ++i) {
                if (fds[i].fd < 0 || fds[i].revents == 0) continue;
                if ((fds[i].revents & POLLOUT) && !sent[i]) {
                    send(fds[i].fd, request.data(), request.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
                    sent[i] = true;
                    fds[i].events = POLLIN;
                    continue;
                }
                const auto n = recv(fds[i].fd, buffer, sizeof buffer, MSG_DONTWAIT);
                if (n > 12 && std::string_view(buffer, 12) == "HTTP/1.1 503") ++load.busyAnswers;
                if (n <= 0 && errno != EAGAIN) {
                    close(fds[i].fd);
                    fds[i].fd = -1;
                    --open;
                    ++load.newConnections;
                }
            }
        }
        for (const auto& fd : fds)
            if (fd.fd >= 0) close(fd.fd);
    }
}

void reportLatency(benchmark::State& state, const std::vector<SteadyClock::time_point>& written,
                   const TimingWindow& window) {
    std::vector<double> latencies;
    for (int i = 0; i < kLatencyLines; ++i) {
        const auto arrived = window.arrived[static_cast<std::size_t>(i)];
        if (arrived != SteadyClock::time_point{})
            latencies.push_back(Milliseconds(arrived - written[static_cast<std::size_t>(i)]).count());
    }
    state.counters["lines"] = static_cast<double>(latencies.size());
    state.counters["median_ms"] = percentile(latencies, 0.5);
    state.counters["p99_ms"] = percentile(latencies, 0.99);
    state.counters["max_ms"] = percentile(latencies, 1.0);
}

void raiseFileLimit() {
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
}

// APRS-IS line to status line, with the page idle (0) or under load (1).
void AprsIsLineToStatusLine(benchmark::State& state) {
    raiseFileLimit();
    const bool loaded = state.range(0) == 1;
    for (auto _ : state) {
        AprsIsPeer peer;
        RunningIgate igate(peer);
        std::vector<SteadyClock::time_point> written;
        std::atomic<bool> done{false};
        HttpLoad load;
        std::vector<std::thread> clients;
        if (loaded) {
            clients.emplace_back(keepAliveLoad, igate.page->port(), std::ref(load));
            clients.emplace_back(newConnectionLoad, igate.page->port(), std::ref(load));
        }
        peer.run([&](int fd) {
            std::this_thread::sleep_for(std::chrono::milliseconds(500));  // the load under way
            written = sendLatencyLines(fd);
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            done = true;
        });
        spin([&] { return done.load(); });
        load.stop = true;
        for (auto& client : clients) client.join();
        peer.wait();
        reportLatency(state, written, igate.window);
        state.counters["keepalive_answers"] = static_cast<double>(load.keepAliveAnswers);
        state.counters["new_connections"] = static_cast<double>(load.newConnections);
        state.counters["answered_503"] = static_cast<double>(load.busyAnswers);
        state.counters["refused_cap"] = static_cast<double>(igate.page->counts().refusedAtCap);
    }
}
BENCHMARK(AprsIsLineToStatusLine)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Lines shaped like the worldwide stream, from stations all over.
std::string floodStream() {
    std::string stream;
    char line[128];
    for (int i = 0; i < 20'000; ++i) {
        const int length = std::snprintf(line, sizeof line, "F%dABC-%d>APRS,TCPIP*,qAC,T2TEST:!4%03d.%02dN/10%03d.00W-flood\r\n",
                                         i % 10, i % 16, i % 90, i % 60, i % 80);
        stream.append(line, static_cast<std::size_t>(length));
    }
    return stream;
}

// The page's answer to /api/status on a new connection while the feed floods the event loop.
void PageAnswerWhileTheGateFloods(benchmark::State& state) {
    for (auto _ : state) {
        AprsIsPeer peer;
        RunningIgate igate(peer);
        std::atomic<bool> done{false};
        peer.run([&done, stream = floodStream()](int fd) {
            while (!done) sendAll(fd, stream);
        });
        std::vector<double> answers;
        std::thread probe([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            const std::string request = "GET /api/status HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
            char buffer[65536];
            for (int i = 0; i < kProbes; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                const auto asked = SteadyClock::now();
                const int fd = connectTo(igate.page->port(), false);
                sendAll(fd, request);
                while (recv(fd, buffer, sizeof buffer, 0) > 0) {
                }
                answers.push_back(Milliseconds(SteadyClock::now() - asked).count());
                close(fd);
            }
            done = true;
        });
        const auto started = SteadyClock::now();
        std::uint64_t lastCount = 0;
        spin([&] {
            lastCount = igate.host->feedStatuses().at(0).packets;
            return done.load();
        });
        const double seconds = std::chrono::duration<double>(SteadyClock::now() - started).count();
        probe.join();
        done = true;
        igate.host.reset();  // the feed's connection goes, so the peer's writes end
        peer.wait();
        state.counters["median_ms"] = percentile(answers, 0.5);
        state.counters["p99_ms"] = percentile(answers, 0.99);
        state.counters["max_ms"] = percentile(answers, 1.0);
        state.counters["feed_lines_per_s"] = static_cast<double>(lastCount) / seconds;
        state.counters["snapshots"] = igate.page->snapshotsBuilt();
    }
}
BENCHMARK(PageAnswerWhileTheGateFloods)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace ovelsk
