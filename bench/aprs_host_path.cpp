// links: ovelsk_standin
// The whole host path for one packet: decode, distance and bearing from home
// (GeographicLib), the station-list update and the NotifyBeaconData event, on the
// bundled demo traffic (46 stations; its non-beacon lines are dropped as they
// come) and on a busy Internet feed of 50,000 distinct stations, where the list
// is full at 32,767 lines and every new station takes the line of the one
// silent longest.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "feeds/demo_feed.h"
#include "feeds/replay_line.h"
#include "standin/standin_host.h"
#include "host/host_application.h"

namespace {

using namespace ovelsk;
using namespace ovelsk::aprs;
using namespace ovelsk::standin;

struct Packet {
    std::int16_t source;
    std::string text;
};

std::vector<Packet> demoPackets() {
    std::vector<Packet> packets;
    std::istringstream lines{std::string(demoFeedText())};
    for (std::string line; std::getline(lines, line);) {
        const auto parsed = parseReplayLine(line);
        if (parsed.kind == ReplayLineKind::Packet) packets.push_back({parsed.line.sourceNumber, std::string(parsed.line.packet)});
    }
    return packets;
}

std::vector<Packet> manyStations(int count) {
    std::vector<Packet> packets;
    for (int i = 0; i < count; ++i) {
        // K0AAAA, K0AAAB, ...: a distinct callsign for every station.
        const char suffix[] = {char('A' + i / 17576 % 26), char('A' + i / 676 % 26), char('A' + i / 26 % 26),
                               char('A' + i % 26), '\0'};
        char text[128];
        std::snprintf(text, sizeof text, "K0%s>APRS,TCPIP*,qAC,T2TEST:!%02d%02d.%02dN/105%02d.%02dW-", suffix,
                      39 + i % 2, i % 60, i % 100, (i / 60) % 60, (i / 7) % 100);
        packets.push_back({kInternetStreamSource, text});
    }
    return packets;
}

void playThroughHost(benchmark::State& state, const std::vector<Packet>& packets) {
    const SystemClock clock;
    StandinHost host(kDemoHome, DistanceUnit::Miles, clock);
    std::uint64_t events = 0;
    host.bindNotifyBeaconData([&](const StationObject& cStn) {
        benchmark::DoNotOptimize(cStn.distance);
        ++events;
    });
    bool on = true;
    host.enable(on);
    for (auto _ : state) {
        for (const auto& packet : packets) host.receivePacket(packet.source, packet.text);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * packets.size()));
    state.counters["beacons"] = benchmark::Counter(static_cast<double>(events), benchmark::Counter::kIsRate);
}

void BM_DemoTraffic(benchmark::State& state) {
    static const auto packets = demoPackets();
    playThroughHost(state, packets);
}
BENCHMARK(BM_DemoTraffic);

void BM_FullInternetList(benchmark::State& state) {
    static const auto packets = manyStations(50'000);
    playThroughHost(state, packets);
}
BENCHMARK(BM_FullInternetList);

}  // namespace
