#include "radar/draw_radar.h"

#include <array>
#include <cmath>
#include <map>
#include <set>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "radar/radar_sweep.h"
#include "radar/recording_picture.h"

namespace ovelsk {
namespace {

using test::DrawOp;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr float kTwipTolerance = 0.01f;
constexpr float kCentreX = 1350;
constexpr float kCentreY = 1460;

MATCHER_P2(At, x, y, "") { return std::abs(arg.x - x) <= kTwipTolerance && std::abs(arg.y - y) <= kTwipTolerance; }

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

    // The slots marked in the frame for `sweep`, with stations at distance slot + 1
    // and range 151 (one twip in 1100/151 per unit), so the slot is read off the mark.
    std::vector<int> markedSlots(float sweep) {
        picture.ops.clear();
        draw(sweep, "151");
        std::vector<int> slots;
        for (const DrawOp& mark : picture.only(DrawOp::Point))
            slots.push_back(static_cast<int>(std::lround(std::hypot(mark.x - kCentreX, mark.y - kCentreY) * 151 / 1100)) - 1);
        return slots;
    }

    StationTable table{};
    test::RecordingPicture picture;
};

TEST_F(DrawRadarTest, NorthFrameIsLineThenMarksThenCentreDot) {
    put(0, 0, 20);
    put(1, 4, 20);
    draw(0);
    const auto& ops = picture.ops;
    ASSERT_EQ(ops.size(), 11u);  // the station at bearing 4 waits for the next step
    EXPECT_EQ(ops[0].kind, DrawOp::PenWidth);
    EXPECT_EQ(ops[0].width, 3);
    EXPECT_EQ(ops[1].colour, (Colour{0, 160, 0}));
    EXPECT_EQ(ops[2].kind, DrawOp::MoveTo);
    EXPECT_THAT(ops[2], At(1350.49f, 360.00f));
    EXPECT_EQ(ops[3].kind, DrawOp::LineTo);
    EXPECT_THAT(ops[3], At(1350.0f, 1460.0f));
    EXPECT_EQ(ops[4].width, 12);
    EXPECT_EQ(ops[5].colour, (Colour{255, 0, 0}));
    EXPECT_EQ(ops[6].kind, DrawOp::Point);
    EXPECT_THAT(ops[6], At(1350.24f, 910.0f));
    EXPECT_EQ(ops[7].width, 3);
    EXPECT_EQ(ops[8].width, 7);
    EXPECT_EQ(ops[9].colour, (Colour{0, 160, 0}));
    EXPECT_EQ(ops[10].kind, DrawOp::Circle);
    EXPECT_THAT(ops[10], At(1350.0f, 1460.0f));
    EXPECT_EQ(ops[10].radius, 5);
}

TEST_F(DrawRadarTest, MarksLieOnTheSweepLineAtTheScaledDistance) {
    put(0, 90, 20);
    draw(90);
    EXPECT_EQ(picture.only(DrawOp::MoveTo).size(), 26u);  // steps 0 to 25
    EXPECT_THAT(picture.only(DrawOp::MoveTo).back(), At(2450.00f, 1460.49f));
    EXPECT_THAT(picture.only(DrawOp::Point), ElementsAre(At(1900.0f, 1460.24f)));

    picture.ops.clear();
    draw(90, "20");  // at the range: on the rim
    EXPECT_THAT(picture.only(DrawOp::Point), ElementsAre(At(2450.00f, 1460.49f)));

    picture.ops.clear();
    put(0, 180, 40);
    draw(180);
    EXPECT_THAT(picture.only(DrawOp::Point), ElementsAre(At(1349.51f, 2560.0f)));
}

TEST_F(DrawRadarTest, StepBearingsKeepTheirFramesOthersShowOncePerTurnOnTheNearestStep) {
    const std::map<int, float> bearings{{0, 0}, {1, 4}, {2, 5}, {3, 7}, {4, 360}, {5, 359}, {6, -1}, {7, 365}, {8, 1.7f}};
    for (const auto& [slot, bearing] : bearings) put(slot, bearing, static_cast<float>(slot + 1));
    std::map<int, std::vector<int>> frames;
    for (int sweep = 0; sweep <= 360; ++sweep)
        for (int slot : markedSlots(static_cast<float>(sweep))) frames[slot].push_back(sweep);

    EXPECT_THAT(frames[0], ElementsAre(0));
    EXPECT_THAT(frames[1], ElementsAre(1, 2, 3));
    EXPECT_THAT(frames[2], ElementsAre(1));
    EXPECT_THAT(frames[3], ElementsAre(4, 5, 6, 7));
    EXPECT_THAT(frames[4], ElementsAre(357, 358, 359, 360));
    EXPECT_THAT(frames[5], ElementsAre(357));
    EXPECT_THAT(frames[6], ElementsAre(357));
    EXPECT_THAT(frames[7], ElementsAre(1));
    EXPECT_THAT(frames[8], ElementsAre(0));
}

// Over every bearing: a station is marked in one frame per turn, or, on a whole
// bearing, in the run of frames its step lasts; always within half a step of it.
TEST_F(DrawRadarTest, EveryStationInUseIsMarkedEachTurnNearItsBearing) {
    std::vector<float> bearings;
    for (int tenth = -4000; tenth <= 8000; tenth += 7)
        if (tenth % 10 != 0) bearings.push_back(static_cast<float>(tenth) / 10);
    for (int whole = 0; whole <= 360; ++whole) bearings.push_back(static_cast<float>(whole));
    int multiFrameBearings = 0;
    for (std::size_t first = 0; first < bearings.size(); first += kStationSlots) {
        table = {};
        for (int slot = 0; slot < kStationSlots && first + slot < bearings.size(); ++slot)
            put(slot, bearings[first + slot], static_cast<float>(slot + 1));
        std::map<int, std::vector<int>> frames;
        std::map<int, std::set<float>> angles;
        for (int sweep = 0; sweep <= 360; ++sweep) {
            const auto slots = markedSlots(static_cast<float>(sweep));
            const auto marks = picture.only(DrawOp::Point);
            for (std::size_t i = 0; i < slots.size(); ++i) {
                frames[slots[i]].push_back(sweep);
                angles[slots[i]].insert(std::atan2(marks[i].x - kCentreX, kCentreY - marks[i].y) * 180 / 3.14159265f);
            }
        }
        for (int slot = 0; slot < kStationSlots && first + slot < bearings.size(); ++slot) {
            const float bearing = bearings[first + slot];
            SCOPED_TRACE(bearing);
            const auto& marked = frames[slot];
            ASSERT_FALSE(marked.empty());
            if (marked.size() > 1) {
                ++multiFrameBearings;
                EXPECT_EQ(bearing, std::floor(bearing));
                EXPECT_EQ(marked.back() - marked.front() + 1, static_cast<int>(marked.size()));
            }
            const float own = std::fmod(std::fmod(bearing, 360.0f) + 360.0f, 360.0f);
            for (float angle : angles[slot]) {
                const float apart = std::abs(std::remainder(angle - own, 360.0f));
                EXPECT_LE(apart, 1.85f);
            }
        }
    }
    EXPECT_EQ(multiFrameBearings, 100);  // the whole bearings of steps 1 to 100
}

TEST_F(DrawRadarTest, MarksStationsInUseOnlyInSlotOrder) {
    put(2, 90, 10);
    put(5, 90, 30);
    put(7, 90.4f, 20);
    table[9].bearing = 90;
    table[9].distance = 5;  // a free slot keeps its last values
    draw(87);
    EXPECT_THAT(picture.only(DrawOp::Point),
                ElementsAre(At(1625.0f, 1460.12f), At(2175.0f, 1460.37f), At(1900.0f, 1460.24f)));
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
        picture.ops.clear();
        draw(0, range);
        EXPECT_EQ(picture.only(DrawOp::LineTo).size(), 1u) << range;
        EXPECT_EQ(picture.only(DrawOp::Circle).size(), 1u) << range;
        EXPECT_THAT(picture.only(DrawOp::Point), IsEmpty()) << range;
        for (const DrawOp& op : picture.ops) EXPECT_TRUE(std::isfinite(op.x) && std::isfinite(op.y)) << range;
    }
    put(0, 0, 3e38f);  // a finite scale that still takes the mark out of range
    picture.ops.clear();
    draw(0, "1");
    EXPECT_THAT(picture.only(DrawOp::Point), IsEmpty());
}

}  // namespace
}  // namespace ovelsk
