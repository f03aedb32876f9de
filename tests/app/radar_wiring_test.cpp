// The radar in the window: Timer1_radar's ticks draw on Picture3 while radarCheck
// is ticked, from the tracker's table and the range box as they are at the tick.
#include <QCheckBox>
#include <QCoreApplication>
#include <QTimer>
#include <QTimerEvent>
#include <gtest/gtest.h>

#include "form_harness.h"

namespace ovelsk::test {
namespace {

bool isGreen(QColor c) { return c.green() >= 120 && c.red() < 60 && c.blue() < 60; }
bool isRed(QColor c) { return c.red() >= 200 && c.green() < 60 && c.blue() < 60; }
bool isBlack(QColor c) { return c.red() < 10 && c.green() < 10 && c.blue() < 10; }

TEST(RadarWiring, TimerTicksDrawTheTrackedStationsWhileTheRadarBoxIsTicked) {
    FormHarness h;
    h.start();
    h.host->indexedList.push_back(testing::stationListLine("N0CALL-9", "  4"));
    h.host->deliver({"N0CALL-9", kInternetStreamSource, "TCPIP*", 20.0f});

    auto* timer = h.control<QTimer>("Timer1_radar");
    auto* picture3 = h.control<QWidget>("Picture3");
    ASSERT_TRUE(timer->isActive());
    const auto tick = [timer] {
        QTimerEvent event(timer->timerId());
        QCoreApplication::sendEvent(timer, &event);
    };
    // Sweep 1 puts the line 3.6 degrees east of north; the station at bearing 4,
    // distance 20 of 40, sits halfway out on it.
    const QPoint line(94, 31);
    const QPoint mark(92, 61);

    tick();
    QImage shown = picture3->grab().toImage();
    EXPECT_TRUE(isBlack(shown.pixelColor(line)) && isBlack(shown.pixelColor(mark)));

    h.control<QCheckBox>("radarCheck")->setChecked(true);
    tick();
    shown = picture3->grab().toImage();
    EXPECT_TRUE(isGreen(shown.pixelColor(line)));
    EXPECT_TRUE(isRed(shown.pixelColor(mark)));

    h.control<QLineEdit>("range")->setText("abc");
    tick();
    shown = picture3->grab().toImage();
    EXPECT_TRUE(isBlack(shown.pixelColor(line)) && isBlack(shown.pixelColor(mark)));
}

}  // namespace
}  // namespace ovelsk::test
