#include "radar/radar_sweep.h"

#include <algorithm>
#include <array>

#include "radar/draw_radar.h"

namespace ovelsk {

void RadarSweep::Timer1_radar_Timer(bool radarTicked, RadarPicture& Picture3, std::string_view rangeText,
                                    const StationTable& stations) {
    if (!radarTicked) return;

    std::array<float, 25> samples{};
    std::fill(samples.begin(), samples.end() - 1, kNoSample);

    ++sweepAngle_;
    if (sweepAngle_ > 360) sweepAngle_ = 0;

    Canvas& canvas = Picture3.clear();
    samples[0] = sweepAngle_;
    DrawRadar({canvas, rangeText, stations}, kRadarTop, kRadarLeft, kRadarBottom, kRadarRight, samples);
    Picture3.showFrame();
}

}  // namespace ovelsk
