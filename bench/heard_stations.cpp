// links: ovelsk_gateway
// The gate to radio's heard-stations table under a flood of new Internet
// callsigns, as a full APRS-IS feed or a hostile server sends them: N distinct
// senders (TCPIP*, so each is remembered as heard on the Internet), one packet
// each, 1 ms apart, all within the three hours of Gate Messages, through the
// whole gate as the host runs it. From 200,000 senders on the Internet table is
// full, and every new one pushes the one heard longest ago out. A station heard
// on radio before the flood is asked after at the end: it must still be known.
// Counters: the time per packet, the table's fill, the process's resident
// memory after the run and its peak so far (VmHWM).

#include <benchmark/benchmark.h>

#include <QtGlobal>

#include <cstdio>
#include <cstring>
#include <string>

#include "gateway/internet_to_rf_gate.h"
#include "support/fake_clock.h"
#include "support/scratch_folder.h"

namespace {

using namespace ovelsk;
using namespace ovelsk::gateway;

// "VmHWM:    123456 kB" or "VmRSS: ..." from /proc/self/status, in MB.
double statusMegabytes(const char* field) {
    double megabytes = 0;
    if (FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status)) {
            long kilobytes = 0;
            if (std::strncmp(line, field, std::strlen(field)) == 0 &&
                std::sscanf(line + std::strlen(field), ": %ld", &kilobytes) == 1)
                megabytes = static_cast<double>(kilobytes) / 1024.0;
        }
        std::fclose(status);
    }
    return megabytes;
}

// The next of a million callsigns N000000 ... N999999, counted in place.
void nextCallsign(std::string& packet) {
    for (std::size_t digit = 6; digit >= 1; --digit) {
        if (++packet[digit] <= '9') return;
        packet[digit] = '0';
    }
}

void BM_NewInternetSenders(benchmark::State& state) {
    const auto senders = state.range(0);
    testing::ScratchFolder folder;
    testing::writeFile(folder / "igate.ini", "[INET_TO_RF]\r\n");
    testing::FakeClock clock;
    GateConfig config;
    config.mode = GateMode::Log;
    config.callsign = "N0TEST";
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    bool stillKnown = true;
    for (auto _ : state) {
        state.PauseTiming();
        auto gate = std::make_unique<InternetToRfGate>(config, folder / "igate.ini", clock);
        gate->heardOnRadio("M1LOC-7>APRS,WIDE1-1:!4903.50N/07201.75W-");
        std::string packet = "N000000>APRS,TCPIP*,qAC,T2TEST:!4903.50N/07201.75W-";
        state.ResumeTiming();
        for (std::int64_t i = 0; i < senders; ++i) {
            clock.advanceMinutes(1.0 / 60'000.0);
            benchmark::DoNotOptimize(gate->judgeInternetPacket(packet, false));
            nextCallsign(packet);
        }
        state.PauseTiming();
        stillKnown = stillKnown && gate->heardStations().nearOnRadio("M1LOC-7", wholeMilliseconds(clock.now()));
        const HeardStationsTally tally = gate->heardStations().tally();
        state.counters["on Internet"] = static_cast<double>(tally.onInternet);
        state.counters["evicted"] = static_cast<double>(tally.forgottenOnInternet);
        state.counters["rss MB"] = statusMegabytes("VmRSS");
        state.counters["peak rss MB"] = statusMegabytes("VmHWM");
        gate.reset();
        clock.advanceMinutes(24 * 60);
        state.ResumeTiming();
    }
    if (!stillKnown) state.SkipWithError("the station heard on radio was forgotten");
    state.counters["per packet"] = benchmark::Counter(static_cast<double>(senders),
                                                      benchmark::Counter::kIsIterationInvariantRate |
                                                          benchmark::Counter::kInvert);
}

BENCHMARK(BM_NewInternetSenders)
    ->Arg(1'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->DisplayAggregatesOnly();

}  // namespace
