#pragma once
// The radar's clock: every tick of Timer1_radar moves the sweep on by one and
// draws a whole new frame, while the radar box is ticked.

#include <cstdint>
#include <string_view>

#include "radar/radar_picture.h"
#include "stations/station_table.h"

namespace ovelsk {

// The box every frame is drawn in, in canvas twips.
inline constexpr std::int32_t kRadarTop = 450;
inline constexpr std::int32_t kRadarLeft = 1100;
inline constexpr std::int32_t kRadarBottom = 2400;
inline constexpr std::int32_t kRadarRight = 1900;

class RadarSweep {
public:
    // Handles one tick. While `radarTicked` is false nothing happens at all: the
    // picture keeps its last frame and the sweep stays where it is. Call it from the
    // event loop and return to it, so pending window events run between two ticks
    // and the station table never changes while a frame is drawn.
    void Timer1_radar_Timer(bool radarTicked, RadarPicture& Picture3, std::string_view rangeText,
                            const StationTable& stations);

    // Degrees, 0 to 360 inclusive: a turn is 361 ticks.
    std::int16_t sweepAngle() const { return sweepAngle_; }

private:
    std::int16_t sweepAngle_ = 0;
};

}  // namespace ovelsk
