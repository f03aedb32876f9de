#pragma once
// The "!DAO!" precision extension some trackers append to a position comment:
//   !4903.50N/07201.75W>comment !W52!     (human readable: +0.005', +0.002')
//   `dYgoZO>/comment !wAb!                 (base 91: up to 0.0099' in 91 steps)
// It adds one more digit (or nearly two) to the minutes of latitude and longitude.

#include <string_view>

namespace ovelsk::aprs {

struct DaoExtra {
    double latitudeMinutes = 0;   // to add to the magnitude of the latitude minutes
    double longitudeMinutes = 0;  // to add to the magnitude of the longitude minutes
};

// The extra minutes of the first well-formed DAO in the comment; zero when there is none.
DaoExtra findDao(std::string_view comment);

}  // namespace ovelsk::aprs
