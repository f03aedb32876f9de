#pragma once
// One frame of the radar: the sweep line, a red mark for each station the line
// passes, and the green centre dot.

#include <cstdint>
#include <span>
#include <string_view>

#include "radar/canvas.h"
#include "stations/station_table.h"

namespace ovelsk {

// A sample list entry that carries no sample.
inline constexpr float kNoSample = -99999;

// What the plot reads of the window, afresh for every frame.
struct RadarWindow {
    Canvas& Picture3;
    std::string_view rangeText;
    const StationTable& stations;
};

// Draws one frame on an already cleared canvas. The box is in twips; the sweep
// position is the last entry of samples[0..23] that holds a sample. Draws nothing
// when the range text is not a number or no entry holds a sample.
void DrawRadar(const RadarWindow& window, std::int32_t top, std::int32_t left, std::int32_t bottom,
               std::int32_t right, std::span<const float> samples);

}  // namespace ovelsk
