// Distance and bearing from home on WGS84, in both units and round the compass.

#include "standin/geodesy.h"

#include <gtest/gtest.h>

namespace ovelsk::standin {
namespace {

TEST(Geodesy, OneDegreeOfLatitudeAtTheEquatorInBothUnits)
{
    // WGS84 meridian arc from 0 to 1 degree north: 110574.389 m.
    const aprs::Position home{0.0, 0.0};
    const aprs::Position north{1.0, 0.0};
    const DistanceAndBearing km = distanceAndBearingFromHome(home, north, DistanceUnit::Kilometres);
    const DistanceAndBearing mi = distanceAndBearingFromHome(home, north, DistanceUnit::Miles);
    EXPECT_NEAR(km.distance, 110.574389, 1e-5);
    EXPECT_NEAR(mi.distance, 110574.389 / 1609.344, 1e-5);
    EXPECT_NEAR(km.bearing, 0.0, 1e-9);
}

TEST(Geodesy, BearingCoversTheWholeCircleWithoutNegatives)
{
    const aprs::Position home{49.0, -72.0};
    struct Case {
        aprs::Position station;
        double bearing;
    };
    for (const Case& c : {
             Case{{50.0, -72.0}, 0.0},
             Case{{48.0, -72.0}, 180.0},
             Case{{48.0, -72.0001}, 180.0},  // just west of south
         }) {
        const double bearing = distanceAndBearingFromHome(home, c.station, DistanceUnit::Miles).bearing;
        EXPECT_GE(bearing, 0.0);
        EXPECT_LT(bearing, 360.0);
        EXPECT_NEAR(bearing, c.bearing, 0.01);
    }
    const double east = distanceAndBearingFromHome(home, {49.0, -71.0}, DistanceUnit::Miles).bearing;
    const double west = distanceAndBearingFromHome(home, {49.0, -73.0}, DistanceUnit::Miles).bearing;
    EXPECT_NEAR(east, 89.62, 0.01);   // a geodesic to a point due east starts a little north of east
    EXPECT_NEAR(west, 270.38, 0.01);
    EXPECT_NEAR(distanceAndBearingFromHome(home, {48.0, -72.0000001}, DistanceUnit::Miles).bearing, 180.0, 1e-4);
}

TEST(Geodesy, StationAtHomeHasNoDistanceAndBearingZero)
{
    const DistanceAndBearing same = distanceAndBearingFromHome({49.0, -72.0}, {49.0, -72.0}, DistanceUnit::Miles);
    EXPECT_EQ(same.distance, 0.0);
    EXPECT_EQ(same.bearing, 0.0);
}

TEST(Geodesy, AntipodalAndDateLineCrossingDistances)
{
    // Across the date line the short way: 0.2 degrees of longitude, not 359.8.
    const double across = distanceAndBearingFromHome({0.0, 179.9}, {0.0, -179.9}, DistanceUnit::Kilometres).distance;
    EXPECT_NEAR(across, 22.26, 0.01);
    // Pole to pole along a meridian: twice the WGS84 quarter meridian, 10001.966 km.
    const double poles = distanceAndBearingFromHome({90.0, 0.0}, {-90.0, 0.0}, DistanceUnit::Kilometres).distance;
    EXPECT_NEAR(poles, 20003.931, 0.001);
}

}  // namespace
}  // namespace ovelsk::standin
