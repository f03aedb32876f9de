// The radar picture is drawn at most once a second, however often it is asked for.
#include <QImage>
#include <gtest/gtest.h>

#include "status/radar_png.h"

namespace ovelsk {
namespace {

TEST(RadarPng, IsRedrawnAtMostOnceASecond) {
    StationTable stations{};
    RadarPng radar([] { return std::string("40"); }, stations);
    const auto start = std::chrono::steady_clock::now();
    const QByteArray first = radar.png(start);
    ASSERT_EQ(QImage::fromData(first, "PNG").size(), QSize(193, 201));

    // Half a second on, the sweep has moved seven steps, but the picture is the same.
    EXPECT_EQ(radar.png(start + std::chrono::milliseconds(500)), first);
    EXPECT_NE(radar.png(start + std::chrono::seconds(1)), first);
}

}  // namespace
}  // namespace ovelsk
