#include "radar/draw_radar.h"

#include <array>
#include <cmath>
#include <map>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "radar/radar_sweep.h"
#include "radar/recording_picture.h"

namespace ovelsk {
namespace {

using ::testing::AnyOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

constexpr float kCentreX = 1350;
constexpr float kCentreY = 1460;

class DrawRadarTest : public ::testing::Test {
protected:
    void put(int slot, float bearing, float distance) {
        table[slot].inUse = -1;
        table[slot].bearing = bearing;
        table[slot].distance = distance;
    }

    // One frame as the sweep tick asks for it.
    void draw(float sweep, const std::string& range = "40") {
        std::array<float, 25> samples{};
        samples.fill(kNoSample);
        samples[0] = sweep;
        samples[24] = 0;
        DrawRadar({picture, range, table}, kRadarTop, kRadarLeft, kRadarBottom, kRadarRight, samples);
    }

    // For each slot, the sweep values whose frame marks it, over one turn. Slot k
    // holds distance k + 1 of range 151, so the slot is read off the mark's radius.
    std::map<int, std::vector<int>> framesPerSlot(std::map<int, std::vector<float>>* markAngles = nullptr) {
        std::map<int, std::vector<int>> frames;
        for (int sweep = 0; sweep <= 360; ++sweep) {
            picture.forget();
            draw(static_cast<float>(sweep), "151");
            for (const auto& [x, y] : picture.points) {
                const int slot = static_cast<int>(std::lround(std::hypot(x - kCentreX, y - kCentreY) * 151 / 1100)) - 1;
                frames[slot].push_back(sweep);
                if (markAngles) (*markAngles)[slot].push_back(std::atan2(x - kCentreX, kCentreY - y) * 180 / 3.14159265f);
            }
        }
        return frames;
    }

    StationTable table{};
    test::RecordingPicture picture;
};

TEST_F(DrawRadarTest, NorthFrameIsLineThenMarksThenCentreDot) {
    put(0, 0, 20);
    put(1, 4, 20);  // waits for the next step
    draw(0);
    EXPECT_THAT(picture.ops, ElementsAre("width 3", "colour 0 160 0", "move 1350.49 360.00", "line 1350.00 1460.00",
                                         "width 12", "colour 255 0 0", "point 1350.24 910.00", "width 3", "width 7",
                                         "colour 0 160 0", "circle 1350.00 1460.00 5.00"));
}

TEST_F(DrawRadarTest, MarksLieOnTheSweepLineAtTheScaledDistance) {
    put(0, 90, 20);
    draw(90);
    EXPECT_EQ(picture.only("move").size(), 26u);  // steps 0 to 25
    EXPECT_EQ(picture.only("move").back(), "move 2450.00 1460.49");
    EXPECT_THAT(picture.only("point"), ElementsAre("point 1900.00 1460.24"));

    picture.forget();
    draw(90, "20");  // at the range: on the rim
    EXPECT_THAT(picture.only("point"), ElementsAre("point 2450.00 1460.49"));

    picture.forget();
    put(0, 180, 40);
    draw(180);
    EXPECT_THAT(picture.only("point"), ElementsAre("point 1349.51 2560.00"));
}

TEST_F(DrawRadarTest, EveryStationShowsInAllFramesOfItsNearestStep) {
    const std::array<float, 9> bearings{0, 4, 5, 7, 360, 359, -1, 365, 1.7f};
    for (int slot = 0; slot < 9; ++slot) put(slot, bearings[slot], static_cast<float>(slot + 1));
    auto frames = framesPerSlot();
    EXPECT_THAT(frames[0], ElementsAre(0));
    EXPECT_THAT(frames[1], ElementsAre(1, 2, 3));
    EXPECT_THAT(frames[2], ElementsAre(1, 2, 3));
    EXPECT_THAT(frames[3], ElementsAre(4, 5, 6, 7));
    EXPECT_THAT(frames[4], ElementsAre(357, 358, 359, 360));
    EXPECT_THAT(frames[5], ElementsAre(357, 358, 359, 360));
    EXPECT_THAT(frames[6], ElementsAre(357, 358, 359, 360));
    EXPECT_THAT(frames[7], ElementsAre(1, 2, 3));
    EXPECT_THAT(frames[8], ElementsAre(0));
}

// Over every bearing: a station is marked in the whole run of frames of one step
// per turn, three or four frames (one for the step at north that only sweep 0
// draws), always within half a step of its bearing.
TEST_F(DrawRadarTest, EveryStationInUseIsMarkedEachTurnNearItsBearing) {
    std::vector<float> bearings;
    for (int tenth = -4000; tenth <= 8000; tenth += 7)
        if (tenth % 10 != 0) bearings.push_back(static_cast<float>(tenth) / 10);
    for (int whole = 0; whole <= 360; ++whole) bearings.push_back(static_cast<float>(whole));
    for (std::size_t first = 0; first < bearings.size(); first += kStationSlots) {
        const int used = static_cast<int>(std::min<std::size_t>(kStationSlots, bearings.size() - first));
        table = {};
        for (int slot = 0; slot < used; ++slot) put(slot, bearings[first + slot], static_cast<float>(slot + 1));
        std::map<int, std::vector<float>> angles;
        auto frames = framesPerSlot(&angles);
        for (int slot = 0; slot < used; ++slot) {
            const float bearing = bearings[first + slot];
            SCOPED_TRACE(bearing);
            const auto& marked = frames[slot];
            ASSERT_FALSE(marked.empty());
            EXPECT_EQ(marked.back() - marked.front() + 1, static_cast<int>(marked.size()));
            const float own = std::fmod(std::fmod(bearing, 360.0f) + 360.0f, 360.0f);
            EXPECT_EQ(marked.size() >= 3, own > 1.8f || bearing == 360) << marked.size();
            for (float angle : angles[slot]) EXPECT_LE(std::abs(std::remainder(angle - own, 360.0f)), 1.85f);
        }
    }
}

TEST_F(DrawRadarTest, MarksStationsInUseOnlyInSlotOrder) {
    put(2, 90, 10);
    put(5, 90, 30);
    put(7, 90.4f, 20);
    table[9].bearing = 90;
    table[9].distance = 5;  // a free slot keeps its last values
    draw(87);
    EXPECT_THAT(picture.only("point"),
                ElementsAre("point 1625.00 1460.12", "point 2175.00 1460.37", "point 1900.00 1460.24"));
}

TEST_F(DrawRadarTest, RangeThatIsNotANumberDrawsNothing) {
    put(0, 0, 10);
    for (const std::string range : {"abc", "", " ", "4O", "1E40"}) {
        draw(0, range);
        EXPECT_THAT(picture.ops, IsEmpty()) << range;
    }
}

TEST_F(DrawRadarTest, RangeWithoutAFiniteScaleDrawsLineAndCentreButNoMarks) {
    put(0, 0, 10);
    for (const std::string range : {"0.0", "00", "-0", "1e-44"}) {
        picture.forget();
        draw(0, range);
        EXPECT_EQ(picture.only("line").size(), 1u) << range;
        EXPECT_EQ(picture.only("circle").size(), 1u) << range;
        EXPECT_THAT(picture.only("point"), IsEmpty()) << range;
        for (const std::string& op : picture.ops) EXPECT_THAT(op, Not(AnyOf(HasSubstr("nan"), HasSubstr("inf"))));
    }
    put(0, 0, 3e38f);  // a finite scale that still takes the mark out of range
    picture.forget();
    draw(0, "1");
    EXPECT_THAT(picture.only("point"), IsEmpty());
}

}  // namespace
}  // namespace ovelsk
