#pragma once
// The radar as the window draws it, as a PNG for the status page: the same
// DrawRadar on the same canvas, with the sweep where the window's would be,
// 70 ms a step. Drawn at most once a second however many viewers ask; in between
// they get the last picture. Always drawn, whatever the window's radar switch says.

#include <QByteArray>
#include <chrono>
#include <functional>
#include <string>

#include "stations/station_table.h"

namespace ovelsk {

class RadarPng {
public:
    using SteadyTime = std::chrono::steady_clock::time_point;

    RadarPng(std::function<std::string()> rangeText, const StationTable& stations);

    // The picture for a request at `now`.
    const QByteArray& png(SteadyTime now);

private:
    std::function<std::string()> rangeText_;
    const StationTable& stations_;
    SteadyTime started_;
    SteadyTime drawnAt_{};
    QByteArray png_;
};

}  // namespace ovelsk
