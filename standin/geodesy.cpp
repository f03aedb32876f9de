#include "standin/geodesy.h"

#include <GeographicLib/Geodesic.hpp>

namespace ovelsk::standin {
namespace {

constexpr double kMetresPerMile = 1609.344;
constexpr double kMetresPerKilometre = 1000.0;

// Inverse gives the azimuth in (-180, 180]; a tiny negative one would round to
// exactly 360 after adding a turn, so that case folds back to 0.
double normalisedBearing(double azimuth)
{
    double bearing = azimuth < 0 ? azimuth + 360.0 : azimuth;
    if (bearing >= 360.0) {
        bearing = 0.0;
    }
    return bearing;
}

}  // namespace

double kilometres(double distance, DistanceUnit unit)
{
    return distance * (unit == DistanceUnit::Miles ? kMetresPerMile : kMetresPerKilometre) / kMetresPerKilometre;
}

DistanceAndBearing distanceAndBearingFromHome(const aprs::Position& home, const aprs::Position& station, DistanceUnit unit)
{
    double metres = 0;
    double azimuthAtHome = 0;
    double azimuthAtStation = 0;
    GeographicLib::Geodesic::WGS84().Inverse(home.latitude, home.longitude, station.latitude, station.longitude,
                                             metres, azimuthAtHome, azimuthAtStation);
    const double metresPerUnit = unit == DistanceUnit::Miles ? kMetresPerMile : kMetresPerKilometre;
    const bool atHome = metres == 0.0;
    return {metres / metresPerUnit, atHome ? 0.0 : normalisedBearing(azimuthAtHome)};
}

}  // namespace ovelsk::standin
