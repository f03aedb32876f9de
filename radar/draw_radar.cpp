#include "radar/draw_radar.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "stations/range_value.h"

namespace ovelsk {
namespace {

constexpr Colour kSweepGreen{0, 160, 0};
constexpr Colour kMarkRed{255, 0, 0};
constexpr int kSweepPenPixels = 3;
constexpr int kMarkPenPixels = 12;
constexpr int kCentrePenPixels = 7;
constexpr float kCentreRadiusTwips = 5;

constexpr int kSteps = 101;
constexpr double kStepDegrees = 3.6;
constexpr double kFullTurnRadians = 6.2831853;
constexpr double kFirstAngleRadians = 4.65;  // one step before straight up
constexpr std::size_t kSweepSampleEntries = 24;

// Whole numbers and their conversions round to nearest, ties to even (the default
// floating-point rounding mode that std::nearbyint follows).
std::optional<std::int16_t> toInt16(double value) {
    const double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<std::int16_t>::min() && rounded <= std::numeric_limits<std::int16_t>::max()))
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

double roundToOneDecimal(float value) { return std::nearbyint(static_cast<double>(value) * 10) / 10; }

// The sweep passes 101 steps, 3.6 degrees apart, and marks a station in every
// frame the line spends on the step nearest its bearing: bearing / 3.6 rounded
// (ties to even), the bearing first taken into 0..360. A station on a step's whole
// bearing (0, 4, 7, 11, ..., 356, 360) is on that step; one on any other bearing
// (5, 12.5, -30) is on the nearest one and shows just as long (bearing 5: step 1,
// the frames of sweep 1 to 3).
std::optional<int> nearestStep(float bearing) {
    double degrees = bearing;
    if (!std::isfinite(degrees)) return std::nullopt;
    if (degrees < 0 || degrees > 360) {
        degrees = std::fmod(degrees, 360);
        if (degrees < 0) degrees += 360;
    }
    return static_cast<int>(std::nearbyint(degrees / kStepDegrees));
}

bool sweepPasses(const StationRecord& station, int step) {
    return station.inUse == -1 && nearestStep(station.bearing) == step;
}

}  // namespace

void DrawRadar(const RadarWindow& window, std::int32_t top, std::int32_t left, std::int32_t bottom,
               std::int32_t right, std::span<const float> samples) {
    const std::optional<float> range = rangeValue(window.rangeText);
    if (!range) return;

    const std::int64_t adjustedTop = std::int64_t{top} + 30;
    const std::int64_t adjustedBottom = std::int64_t{bottom} + 40;
    const std::int64_t adjustedLeft = std::int64_t{left} - 300;
    const std::int64_t adjustedRight = right;

    if (std::ranges::none_of(samples, [](float value) { return value != kNoSample; })) return;

    const std::optional<std::int16_t> r =
        toInt16(static_cast<double>(std::min(adjustedRight - adjustedLeft, adjustedBottom - adjustedTop)));
    const std::optional<std::int16_t> radius = r ? toInt16(std::abs(static_cast<double>(*r))) : std::nullopt;
    const std::optional<std::int16_t> cx =
        toInt16(static_cast<double>(adjustedRight - adjustedLeft) / 2 + static_cast<double>(adjustedLeft));
    const std::optional<std::int16_t> cy =
        toInt16(static_cast<double>(adjustedBottom) - static_cast<double>(adjustedBottom - adjustedTop) / 2);
    if (!radius || !cx || !cy) return;  // a box too large for the 16-bit plot draws nothing

    // Twips per unit of distance. A zero or tiny range gives no finite scale: the
    // frame then shows the line and the centre but no marks.
    const float scale = static_cast<float>(*r) / *range;
    const auto angleStep = static_cast<float>(kFullTurnRadians / 100);

    float sweep = kNoSample;
    for (std::size_t i = 0; i < std::min(samples.size(), kSweepSampleEntries); ++i)
        if (samples[i] != kNoSample) sweep = samples[i];

    Canvas& canvas = window.Picture3;
    canvas.setPenWidth(kSweepPenPixels);
    canvas.setPenColour(kSweepGreen);

    auto angle = static_cast<float>(kFirstAngleRadians);
    float stepBearing = 0;
    for (int step = 0; step < kSteps; ++step) {
        angle += angleStep;
        const double cosine = std::cos(static_cast<double>(angle));
        const double sine = std::sin(static_cast<double>(angle));
        canvas.moveTo(static_cast<float>(*cx + *radius * cosine), static_cast<float>(*cy + *radius * sine));

        if (roundToOneDecimal(stepBearing) >= sweep) {
            canvas.lineTo(*cx, *cy);
            for (const StationRecord& station : window.stations) {
                if (!std::isfinite(scale)) break;
                if (!sweepPasses(station, step)) continue;
                const float scaled = scale * station.distance;
                const auto x = static_cast<float>(*cx + scaled * cosine);
                const auto y = static_cast<float>(*cy + scaled * sine);
                if (!std::isfinite(x) || !std::isfinite(y)) continue;
                canvas.setPenWidth(kMarkPenPixels);
                canvas.setPenColour(kMarkRed);
                canvas.plotPoint(x, y);
                canvas.setPenWidth(kSweepPenPixels);
            }
            break;
        }
        stepBearing = static_cast<float>(static_cast<double>(stepBearing) + kStepDegrees);
    }

    canvas.setPenWidth(kCentrePenPixels);
    canvas.setPenColour(kSweepGreen);
    canvas.circle(*cx, *cy, kCentreRadiusTwips);
}

}  // namespace ovelsk
