// links: ovelsk_radar
// Processor time the radar takes when it is on and nothing else happens: a shown
// radar picture, ticked by a 70 ms timer for 30 s, as the window's Timer1_radar does.

#include <sys/resource.h>

#include <memory>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <benchmark/benchmark.h>

#include "radar/radar_sweep.h"
#include "radar/radar_view.h"
#include "radar_stations.h"

namespace {

using namespace ovelsk;

constexpr int kTickMilliseconds = 70;
constexpr int kRunMilliseconds = 30'000;

double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void BM_RadarOnIdle30s(benchmark::State& state) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "bench_radar_idle_cpu";
    static char* argv[] = {name, nullptr};
    static const auto app = std::make_unique<QApplication>(argc, argv);

    const StationTable stations = spreadStations();
    RadarView view;
    view.resize(view.sizeHint());
    view.show();
    RadarSweep sweep;
    int ticks = 0;
    QTimer timer;
    timer.setInterval(kTickMilliseconds);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        sweep.Timer1_radar_Timer(true, view, "40", stations);
        ++ticks;
    });

    for (auto _ : state) {
        QEventLoop loop;
        QTimer::singleShot(kRunMilliseconds, &loop, &QEventLoop::quit);
        QElapsedTimer wall;
        const double before = processorSeconds();
        wall.start();
        timer.start();
        loop.exec();
        timer.stop();
        const double used = processorSeconds() - before;
        state.counters["cpu_percent_of_one_core"] = 100 * used / (static_cast<double>(wall.elapsed()) / 1000);
        state.counters["ticks"] = ticks;
    }
}
BENCHMARK(BM_RadarOnIdle30s)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
