// links: ovelsk_stations ovelsk_standin
// One recorded beacon through intake, table and list rebuild, with every slot in
// use and host station lists of a given length. The gateway section is left out.
// The bearing look-up walks the lists of a host without an index (a scripted
// one), and is answered by the stand-in host's index.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "quiet_window.h"
#include "standin/standin_host.h"
#include "stations/station_tracker.h"
#include "support/fake_clock.h"
#include "support/scripted_host.h"

namespace ovelsk {
namespace {

void recordOneBeacon(benchmark::State& state, HostApplication& host, testing::FakeClock& clock, int listLines) {
    QuietWindow window;
    NoGateway gateway;
    StationTracker tracker(window, host, gateway, clock, clock.now() - 7200);

    // Fill every slot: a third heard on radio long enough ago to be listed with a time,
    // the rest only through the Internet.
    for (int i = 0; i < kStationSlots; ++i) {
        const bool rf = i % 3 == 1;
        tracker.mUIV_NotifyBeaconData({(rf ? "RF" : "IS") + std::to_string(listLines - 1 - i),
                                       static_cast<std::int16_t>(rf ? 0 : 100), "APRS,WIDE2-1", float(i % 40)});
    }
    clock.advanceMinutes(25);

    // The beacon's station sits at the end of the second list: the longest lookup that finds it.
    const StationObject cStn{"IS" + std::to_string(listLines - 1), 100, "APRS,TCPIP*,qAC,T2", 12.5f};
    if (tracker.table()[0].callsign != cStn.callsign) state.SkipWithError("the beacon's station is not tracked");
    for (auto _ : state) {
        tracker.mUIV_NotifyBeaconData(cStn);
    }
    state.counters["rows"] = static_cast<double>(tracker.candidateRows().size());
}

void RecordOneBeacon(benchmark::State& state) {
    const int listLines = static_cast<int>(state.range(0));
    testing::ScriptedHost host;
    for (int i = 0; i < listLines; ++i) {
        host.indexedList.push_back(testing::stationListLine("RF" + std::to_string(i), std::to_string(i % 360)));
        host.secondList.push_back(testing::stationListLine("IS" + std::to_string(i), std::to_string(i % 360)));
    }
    testing::FakeClock clock;
    recordOneBeacon(state, host, clock, listLines);
}

void RecordOneBeaconIndexedHost(benchmark::State& state) {
    const int listLines = static_cast<int>(state.range(0));
    testing::FakeClock clock;
    standin::StandinHost host({49.0, -72.0}, standin::DistanceUnit::Miles, clock);
    for (int i = 0; i < listLines; ++i) {
        host.receivePacket(0, "RF" + std::to_string(i) + ">APRS:!4903.50N/07201.75W-");
        host.receivePacket(kInternetStreamSource, "IS" + std::to_string(i) + ">APRS,TCPIP*,qAC,T2:!4903.50N/07201.75W-");
    }
    recordOneBeacon(state, host, clock, listLines);
}

BENCHMARK(RecordOneBeaconIndexedHost)->Arg(500)->Arg(10000)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(RecordOneBeacon)->Arg(500)->Arg(10000)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace ovelsk
