// links: ovelsk_standin
// The gateway's decision on one Internet packet, with igate.ini listing 151
// stations in Ovelsk's block (a full station table) and 20 hand-written lines
// beside it, as the host runs it: the clock read, the list looked up, the rules
// applied, and for a packet that goes out the frame built, handed to the TNC and
// the log line written. Message gating is on, as by default. Counters show how
// often igate.ini was read.

#include <benchmark/benchmark.h>

#include <QtGlobal>

#include <string>
#include <vector>

#include "host/igate_file.h"
#include "gateway/internet_to_rf_gate.h"
#include "support/fake_clock.h"
#include "support/scratch_folder.h"

namespace {

using namespace ovelsk;
using namespace ovelsk::aprs;
using namespace ovelsk::gateway;

constexpr int kListed = 151;
constexpr int kHandWritten = 20;

std::vector<std::string> candidateRows(const std::string& prefix) {
    std::vector<std::string> rows;
    for (int i = 0; i < kListed; ++i) rows.push_back("12.5\t" + prefix + std::to_string(i) + "-9\t\tNot Heard Via RF\t270");
    return rows;
}

class NullTnc final : public KissTransmitter {
public:
    bool sendKissFrame(std::string_view frame) override {
        benchmark::DoNotOptimize(frame.data());
        return true;
    }
    const std::string& transmitterName() const override { return name_; }

private:
    std::string name_ = "kiss:null";
};

// A host folder with the igate.ini above and a gate reading it.
struct GateBench {
    testing::ScratchFolder folder;
    std::string hostFolder = folder.path().string();
    IgateFile writer{hostFolder, {}, false};
    testing::FakeClock clock;
    NullTnc tnc;
    InternetToRfGate gate;

    explicit GateBench(GateMode mode) : gate(config(mode), folder / "igate.ini", clock) {
        // Log lines are still formatted, as in the program, and then dropped.
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        std::string text = "[SETTINGS]\r\nGATE_INET_TO_RF=1\r\n[INET_TO_RF]\r\n";
        for (int i = 0; i < kHandWritten; ++i) text += "W" + std::to_string(i) + "HW=ALL\r\n";
        text += "[EXCLUDE]\r\nNOCALL=ALL\r\n";
        testing::writeFile(folder / "igate.ini", text);
        writer.WriteIgateSection(candidateRows("K0A"));
        gate.setTransmitter(&tnc);
    }

    static GateConfig config(GateMode mode) {
        GateConfig config;
        config.mode = mode;
        config.callsign = "N0TEST";
        return config;
    }
};

const std::string kUnlisted = "KB0XYZ-7>APRS,TCPIP*,qAC,T2TEST:!4003.50N/10512.75W-PHG2360 home station";
const std::string kListedPacket = "K0A150-9>APRS,TCPIP*,qAC,T2TEST:!4003.50N/10512.75W-PHG2360 home station";

void report(benchmark::State& state, const GateBench& bench) {
    state.counters["igate.ini reads"] = static_cast<double>(const_cast<GateBench&>(bench).gate.list().reads());
}

// A message to a station not heard on radio, as most messages on a full feed
// are; its sender is remembered as heard on the Internet all the same.
const std::string kMessageElsewhere = "KB0XYZ-7>APRS,TCPIP*,qAC,T2TEST::W1ELSE-9 :are you there?{17";

void BM_MessageToAStationNotHeard(benchmark::State& state) {
    GateBench bench(GateMode::On);
    bench.gate.heardOnRadio("M1LOC-7>APRS,WIDE1-1:!4003.50N/10512.75W-");
    for (auto _ : state) benchmark::DoNotOptimize(bench.gate.judgeInternetPacket(kMessageElsewhere, false));
    report(state, bench);
}

// Most Internet traffic: a station that is not listed.
void BM_UnlistedStation(benchmark::State& state) {
    GateBench bench(GateMode::On);
    for (auto _ : state) benchmark::DoNotOptimize(bench.gate.judgeInternetPacket(kUnlisted, false));
    report(state, bench);
}

// A listed station that passes every rule: built, sent and logged. The clock
// moves 16 s a packet, so neither limit is reached and no packet repeats within a minute.
void BM_ListedStationSent(benchmark::State& state) {
    GateBench bench(GateMode::On);
    std::vector<std::string> packets;
    for (int i = 0; i < 100; ++i) packets.push_back(kListedPacket + " " + std::to_string(i));
    std::size_t next = 0;
    std::int64_t sent = 0;
    for (auto _ : state) {
        bench.clock.advanceMinutes(16.0 / 60.0);
        sent += bench.gate.judgeInternetPacket(packets[next], false) == GateOutcome::Sent;
        next = (next + 1) % packets.size();
    }
    if (sent != state.iterations()) state.SkipWithError("a packet was not sent");
    report(state, bench);
}

// A listed station over the rate limit: held back and logged.
void BM_ListedStationHeldBack(benchmark::State& state) {
    GateBench bench(GateMode::On);
    for (int i = 0; i < 20; ++i) bench.gate.judgeInternetPacket(kListedPacket + " " + std::to_string(i), false);
    for (auto _ : state) benchmark::DoNotOptimize(bench.gate.judgeInternetPacket(kListedPacket, false));
    report(state, bench);
}

// After every beacon event the host looks at igate.ini once (a stat) before the
// next packet is judged; Ovelsk rewrites its block every 50th packet. The file
// is read only after a rewrite.
void BM_UnlistedAfterEachBeaconEvent(benchmark::State& state) {
    GateBench bench(GateMode::On);
    const auto rowsA = candidateRows("K0A");
    const auto rowsB = candidateRows("K0B");
    std::int64_t packets = 0;
    std::int64_t rewrites = 0;
    for (auto _ : state) {
        if (++packets % 50 == 0) {
            state.PauseTiming();
            bench.writer.WriteIgateSection(++rewrites % 2 ? rowsB : rowsA);
            state.ResumeTiming();
        }
        bench.gate.list().fileMayHaveChanged();
        benchmark::DoNotOptimize(bench.gate.judgeInternetPacket(kUnlisted, false));
    }
    state.counters["rewrites"] = static_cast<double>(rewrites);
    report(state, bench);
}

BENCHMARK(BM_UnlistedStation)->Repetitions(5)->DisplayAggregatesOnly();
BENCHMARK(BM_MessageToAStationNotHeard)->Repetitions(5)->DisplayAggregatesOnly();
BENCHMARK(BM_ListedStationSent)->Repetitions(5)->DisplayAggregatesOnly();
BENCHMARK(BM_ListedStationHeldBack)->Repetitions(5)->DisplayAggregatesOnly();
BENCHMARK(BM_UnlistedAfterEachBeaconEvent)->Repetitions(5)->DisplayAggregatesOnly();

}  // namespace
