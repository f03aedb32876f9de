#include "radar/radar_view.h"

#include <memory>

#include <QApplication>
#include <QColor>
#include <QImage>
#include <gtest/gtest.h>

#include "radar/radar_sweep.h"

namespace ovelsk {
namespace {

void ensureApplication() {
    static int argc = 1;
    static char name[] = "test_radar";
    static char* argv[] = {name, nullptr};
    static const auto app = std::make_unique<QApplication>(argc, argv);
}

bool isGreen(QColor c) { return c.green() >= 120 && c.red() < 60 && c.blue() < 60; }
bool isRed(QColor c) { return c.red() >= 200 && c.green() < 60 && c.blue() < 60; }
bool isBlack(QColor c) { return c.red() < 10 && c.green() < 10 && c.blue() < 10; }

class RadarViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ensureApplication();
        view = std::make_unique<RadarView>();
        view->resize(view->sizeHint());
    }
    QImage shown() const { return view->grab().toImage(); }

    std::unique_ptr<RadarView> view;
};

TEST_F(RadarViewTest, ShowsSweepLineMarkAndCentreOnBlack) {
    StationTable table{};
    table[0].inUse = -1;
    table[0].bearing = 4;
    table[0].distance = 20;
    RadarSweep sweep;
    sweep.Timer1_radar_Timer(true, *view, "40", table);  // sweep 1: the line at 3.6 degrees

    const QImage image = shown();
    ASSERT_EQ(image.size(), QSize(193, 201));
    // Along the line at 3.625 degrees east of north from the centre (1350, 1460) twips,
    // 15 twips a pixel: 1000 twips out is on the line, 550 (distance 20 of 40) the mark.
    EXPECT_TRUE(isGreen(image.pixelColor(94, 31)));
    EXPECT_TRUE(isRed(image.pixelColor(92, 61)));
    EXPECT_TRUE(isGreen(image.pixelColor(90, 100)));  // the centre dot is filled, not a ring
    EXPECT_TRUE(isGreen(image.pixelColor(88, 99)));
    for (const QPoint elsewhere : {QPoint(20, 180), QPoint(180, 20), QPoint(86, 164), QPoint(120, 60)})
        EXPECT_TRUE(isBlack(image.pixelColor(elsewhere))) << elsewhere.x() << "," << elsewhere.y();
}

TEST_F(RadarViewTest, KeepsShowingTheLastFrameUntilTheNextIsWhole) {
    Canvas& canvas = view->clear();
    canvas.setPenWidth(12);
    canvas.setPenColour({255, 0, 0});
    canvas.plotPoint(1350, 1460);
    canvas.plotPoint(1e30f, -1e30f);  // far off the picture: skipped
    EXPECT_TRUE(isBlack(shown().pixelColor(90, 97)));
    view->showFrame();
    EXPECT_TRUE(isRed(shown().pixelColor(90, 97)));

    view->clear();
    EXPECT_TRUE(isRed(shown().pixelColor(90, 97)));
    view->showFrame();
    EXPECT_TRUE(isBlack(shown().pixelColor(90, 97)));
}

}  // namespace
}  // namespace ovelsk
