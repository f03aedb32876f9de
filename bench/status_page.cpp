// links: ovelsk_status
// Building the status page's data on the event loop, as one viewer's refresh
// does: all 151 slots in use (a third listed), 100 gate decisions kept, one feed.
// The JSON and the metrics separately, and the radar picture when it is redrawn.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "quiet_window.h"
#include "status/radar_png.h"
#include "status/status_json.h"
#include "status/status_metrics.h"
#include "support/fake_clock.h"
#include "support/fake_host_report.h"
#include "support/scripted_host.h"

namespace ovelsk {
namespace {

// Busy: an APRS-IS feed and more gate decisions than are kept.
testing::FakeHostReport busyReport() {
    testing::FakeHostReport report;
    report.hostIdentity.callsign = "N0CALL-10";
    report.hostIdentity.programFolder = "/home/pi/.local/share/ovelsk/host/";
    report.hostIdentity.igateIni = report.hostIdentity.programFolder + "igate.ini";
    aprs::FeedStatus& feed = report.feeds.emplace_back();
    feed.name = "aprs-is:rotate.aprs2.net:14580";
    feed.state = aprs::FeedState::Connected;
    feed.packets = 123456;
    for (int i = 0; i < 150; ++i)
        report.decisions.record(46000.5, gateway::GateDirection::ToRadio, i % 2 ? "sent" : "duplicate",
                                "sent K0ABC-" + std::to_string(i % 16) + ">APRS (2 of 6 this minute)");
    return report;
}

struct FullTable {
    FullTable() {
        for (int i = 0; i < kStationSlots; ++i) {
            const bool rf = i % 3 == 1;
            tracker.mUIV_NotifyBeaconData({(rf ? "RF" : "IS") + std::to_string(i), static_cast<std::int16_t>(rf ? 0 : 100),
                                           "APRS,WIDE2-1", float(i % 40)});
        }
    }
    testing::ScriptedHost host;
    QuietWindow window;
    NoGateway gateway;
    testing::FakeClock clock;
    StationTracker tracker{window, host, gateway, clock, clock.now() - 7200};
    testing::FakeHostReport report = busyReport();
    StatusSources sources{report, tracker, clock, [] { return std::string("40"); }, "1.0.0",
                          std::chrono::system_clock::now()};
};

void StatusJson(benchmark::State& state) {
    FullTable full;
    for (auto _ : state) benchmark::DoNotOptimize(statusJson(full.sources, std::chrono::system_clock::now()));
    state.counters["bytes"] = static_cast<double>(statusJson(full.sources, std::chrono::system_clock::now()).size());
}

void StatusMetrics(benchmark::State& state) {
    FullTable full;
    const ServerCounts counts;
    for (auto _ : state) benchmark::DoNotOptimize(statusMetrics(full.sources, counts));
}

// Every call a second apart, so every call draws and encodes.
void RadarPicture(benchmark::State& state) {
    FullTable full;
    RadarPng radar([] { return std::string("40"); }, full.tracker.table());
    auto now = std::chrono::steady_clock::now();
    for (auto _ : state) {
        now += std::chrono::seconds(1);
        benchmark::DoNotOptimize(radar.png(now).size());
    }
}

BENCHMARK(StatusJson)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(StatusMetrics)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(RadarPicture)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace ovelsk
