// links: ovelsk_radar
// One radar tick as the window runs it: clear, plot and paint a whole frame on the
// 193 by 201 pixel picture, with every station slot in use.

#include <memory>

#include <QApplication>
#include <benchmark/benchmark.h>

#include "radar/draw_radar.h"
#include "radar/radar_sweep.h"
#include "radar/radar_view.h"
#include "radar_stations.h"

namespace {

using namespace ovelsk;

void ensureApplication() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "bench_radar_frame";
    static char* argv[] = {name, nullptr};
    static const auto app = std::make_unique<QApplication>(argc, argv);
}

class NullCanvas : public Canvas {
public:
    void setPenWidth(int) override {}
    void setPenColour(Colour) override {}
    void moveTo(float x, float y) override { benchmark::DoNotOptimize(x + y); }
    void lineTo(float x, float y) override { benchmark::DoNotOptimize(x + y); }
    void plotPoint(float x, float y) override { benchmark::DoNotOptimize(x + y); }
    void circle(float x, float y, float radius) override { benchmark::DoNotOptimize(x + y + radius); }
};

// The whole tick, one frame after another round the turn.
void BM_RadarTick(benchmark::State& state) {
    ensureApplication();
    RadarView view;
    view.resize(view.sizeHint());
    const StationTable stations = spreadStations();
    RadarSweep sweep;
    for (auto _ : state) sweep.Timer1_radar_Timer(true, view, "40", stations);
}
BENCHMARK(BM_RadarTick)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);

// The plot's own arithmetic, without painting.
void BM_DrawRadarNoPainting(benchmark::State& state) {
    const StationTable stations = spreadStations();
    NullCanvas canvas;
    std::array<float, 25> samples{};
    samples.fill(kNoSample);
    samples[24] = 0;
    int sweep = 0;
    for (auto _ : state) {
        samples[0] = static_cast<float>(sweep = sweep == 360 ? 0 : sweep + 1);
        DrawRadar({canvas, "40", stations}, kRadarTop, kRadarLeft, kRadarBottom, kRadarRight, samples);
    }
}
BENCHMARK(BM_DrawRadarNoPainting)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);

// The heaviest frame there is: all 151 stations marked at once (all at bearing 360,
// drawn at sweep 360, the longest walk of steps).
void BM_RadarFrameAllStationsMarked(benchmark::State& state) {
    ensureApplication();
    RadarView view;
    view.resize(view.sizeHint());
    StationTable stations = spreadStations();
    for (StationRecord& station : stations) station.bearing = 360;
    std::array<float, 25> samples{};
    samples.fill(kNoSample);
    samples[0] = 360;
    samples[24] = 0;
    for (auto _ : state) {
        Canvas& canvas = view.clear();
        DrawRadar({canvas, "40", stations}, kRadarTop, kRadarLeft, kRadarBottom, kRadarRight, samples);
        view.showFrame();
    }
}
BENCHMARK(BM_RadarFrameAllStationsMarked)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);

}  // namespace
