#pragma once
// Distance and bearing of a station from the home position, on the WGS84 ellipsoid.

#include "aprs/packet_decoder.h"

namespace ovelsk::standin {

enum class DistanceUnit {
    Miles,       // statute miles of 1609.344 m
    Kilometres,
};

struct DistanceAndBearing {
    double distance = 0;  // in the requested unit
    double bearing = 0;   // degrees clockwise from true north at home, in [0, 360)
};

// A distance in `unit` as kilometres.
double kilometres(double distance, DistanceUnit unit);

// The geodesic from home to the station. A station exactly at home has bearing 0.
DistanceAndBearing distanceAndBearingFromHome(const aprs::Position& home, const aprs::Position& station, DistanceUnit unit);

}  // namespace ovelsk::standin
