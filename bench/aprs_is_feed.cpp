// links: ovelsk_standin
// The APRS-IS feed taking a recorded-style stream from a loopback server that
// writes as fast as the socket allows. The server runs on its own thread with a
// plain blocking socket, so the figure is what the feed itself can take on the
// event-loop thread, alone and with the host behind it (decoding, geodesy,
// station lists, the beacon event). Resident memory is reported before and
// after the run.

#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

#include "feeds/aprs_is_feed.h"
#include "standin/standin_host.h"
#include "host/date_time.h"

namespace {

using namespace ovelsk::aprs;
using namespace ovelsk::standin;

// Lines shaped like the worldwide stream: positions in all three formats,
// third-party and digipeated traffic, status, messages, objects, and the
// server's keep-alive comments.
std::string recordedStyleFeed(int lines) {
    static const char* const kTemplates[] = {
        "%s>APRS,TCPIP*,qAC,T2TEST:!5130.%02dN/00007.%02dW-PHG2360 home station",
        "%s>APDR16,TCPIP*,qAC,T2TEST:=5129.%02dN/00012.%02dW[ on the move",
        "%s>T0SR5P,WIDE1-1,WIDE2-1,qAR,N1GATE:`dYgoZO>/Mic-E %02d%02d",
        "%s>APRS,WIDE2-1,qAR,N1GATE:=/5L!!<*e7>7P[ compressed %02d%02d",
        "%s>APRS,N1DIGI*,WIDE2-1,qAR,N1GATE:!5131.%02dN/00009.%02dE>digipeated",
        "%s>APRS,TCPIP*,qAS,N1GATE:}W1ABC>APRS,TCPIP,N1GATE*:!4903.%02dN/07201.%02dW-inner",
        "%s>APRS,TCPIP*,qAC,T2TEST:>status text %02d%02d",
        "%s>APRS,TCPIP*,qAC,T2TEST::N0CALL   :message %02d%02d{12",
        "%s>APRS,TCPIP*,qAC,T2TEST:;OBJ%02d%02d  *092345z4903.50N/07201.75W-object",
        "%s>APWW11,TCPIP*,qAC,T2TEST:@092345z5128.%02dN/00005.%02dW_weather",
    };
    std::string feed;
    char line[256];
    char callsign[16];
    for (int i = 0; i < lines; ++i) {
        if (i % 1000 == 999) {
            feed += "# aprsc 2.1.19-g730c5c0 8 Dec 2026 10:00:20 GMT T2TEST 127.0.0.1:14580\r\n";
            continue;
        }
        std::snprintf(callsign, sizeof callsign, "G%dABC-%d", i % 10, i % 16);
        const int length = std::snprintf(line, sizeof line, kTemplates[i % 10], callsign, i % 60, (i / 60) % 60);
        feed.append(line, static_cast<std::size_t>(length));
        feed += "\r\n";
    }
    return feed;
}

long residentKilobytes() {
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Accepts one connection on 127.0.0.1 and writes the stream to it over and over
// until the connection goes away.
class StreamPusher {
public:
    explicit StreamPusher(std::string stream) : stream_(std::move(stream)) {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            listen(listener_, 1) != 0 || getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            std::perror("loopback server");
            std::abort();
        }
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { run(); });
    }
    ~StreamPusher() {
        thread_.join();
        close(listener_);
    }

    std::uint16_t port() const { return port_; }

private:
    void run() {
        const int connection = accept(listener_, nullptr, nullptr);
        bool open = connection >= 0;
        while (open) {
            std::size_t sent = 0;
            while (open && sent < stream_.size()) {
                const ssize_t n = send(connection, stream_.data() + sent, stream_.size() - sent, MSG_NOSIGNAL);
                open = n > 0;
                sent += open ? static_cast<std::size_t>(n) : 0;
            }
        }
        if (connection >= 0) {
            close(connection);
        }
    }

    std::string stream_;
    int listener_ = -1;
    std::uint16_t port_ = 0;
    std::thread thread_;
};

QCoreApplication& eventLoop() {
    static int argc = 1;
    static char name[] = "bench_aprs_is_feed";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

// Streams the recorded-style feed through an APRS-IS feed into `deliver` until
// the benchmark has seen enough; `delivered` counts what reached the end.
void runFeed(benchmark::State& state, const PacketSink& deliver, const std::int64_t& delivered) {
    eventLoop();
    constexpr int kLinesPerRound = 100'000;
    constexpr int kPacketsPerRound = kLinesPerRound - kLinesPerRound / 1000;  // less the keep-alive comments
    StreamPusher pusher(recordedStyleFeed(kLinesPerRound));
    std::int64_t received = 0;
    {
        const AprsIsLogin login{"N0CALL", kReceiveOnlyPasscode, "r/51.5/-0.1/65"};
        AprsIsFeed feed(FeedAddress{"127.0.0.1", pusher.port()}, login,
                        [&](std::int16_t source, std::string_view packet) {
                            ++received;
                            deliver(source, packet);
                        });
        feed.start();
        while (received == 0) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        const long residentBefore = residentKilobytes();
        const std::int64_t receivedBefore = received;
        const std::int64_t deliveredBefore = delivered;
        std::int64_t target = received;
        for (auto _ : state) {
            target += kPacketsPerRound;
            while (received < target) {
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            }
        }
        state.counters["rss_before_kB"] = static_cast<double>(residentBefore);
        state.counters["rss_after_kB"] = static_cast<double>(residentKilobytes());
        state.counters["delivered"] = static_cast<double>(delivered - deliveredBefore);
        state.SetItemsProcessed(received - receivedBefore);
    }
}

void AprsIsFeedThroughput(benchmark::State& state) {
    std::int64_t bytes = 0;
    std::int64_t packets = 0;
    runFeed(state,
            [&](std::int16_t, std::string_view packet) {
                ++packets;
                bytes += static_cast<std::int64_t>(packet.size());
            },
            packets);
    state.SetBytesProcessed(bytes);
}
BENCHMARK(AprsIsFeedThroughput)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

// The same stream through the host: every packet decoded, every position beacon
// measured from home, put in its station list and raised as an event.
void AprsIsFeedIntoHost(benchmark::State& state) {
    const ovelsk::SystemClock clock;
    StandinHost host(Position{51.5, -0.1}, DistanceUnit::Miles, clock);
    std::int64_t beacons = 0;
    host.bindNotifyBeaconData([&](const ovelsk::StationObject&) { ++beacons; });
    bool on = true;
    host.enable(on);
    runFeed(state, host.packetSink(), beacons);
}
BENCHMARK(AprsIsFeedIntoHost)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

}  // namespace
