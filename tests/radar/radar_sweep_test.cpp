#include "radar/radar_sweep.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "radar/recording_picture.h"

namespace ovelsk {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class RadarSweepTest : public ::testing::Test {
protected:
    void tick(bool radarTicked, const std::string& range = "40") {
        picture.forget();
        sweep.Timer1_radar_Timer(radarTicked, picture, range, table);
    }
    void tickTo(int angle) {
        while (sweep.sweepAngle() != angle) tick(true);
    }
    bool marked() const { return !picture.points.empty(); }

    RadarSweep sweep;
    StationTable table{};
    test::RecordingPicture picture;
};

TEST_F(RadarSweepTest, DoesNothingAtAllWhileTheBoxIsUnticked) {
    for (int i = 0; i < 5; ++i) {
        tick(false);
        EXPECT_THAT(picture.ops, IsEmpty());
    }
    EXPECT_EQ(sweep.sweepAngle(), 0);
}

TEST_F(RadarSweepTest, EachTickClearsDrawsAWholeFrameAndShowsIt) {
    tick(true);
    EXPECT_EQ(sweep.sweepAngle(), 1);
    ASSERT_GE(picture.ops.size(), 3u);
    EXPECT_EQ(picture.ops.front(), "clear");
    EXPECT_EQ(picture.ops.back(), "show");
    EXPECT_EQ(picture.only("line").size(), 1u);

    tick(true, "abc");  // the frame is wiped and stays empty
    EXPECT_THAT(picture.ops, ElementsAre("clear", "show"));
}

TEST_F(RadarSweepTest, SweepRunsUpTo360ThenWrapsToNorth) {
    table[0].inUse = -1;  // bearing 0: marked only in the frame for 0
    table[0].distance = 10;
    tickTo(359);
    tick(true);
    EXPECT_EQ(sweep.sweepAngle(), 360);
    EXPECT_EQ(picture.only("line").size(), 1u);
    EXPECT_FALSE(marked());
    tick(true);
    EXPECT_EQ(sweep.sweepAngle(), 0);
    EXPECT_TRUE(marked());
    tick(true);
    EXPECT_EQ(sweep.sweepAngle(), 1);
    EXPECT_FALSE(marked());
}

TEST_F(RadarSweepTest, UntickingFreezesTheSweepAndTickingResumesIt) {
    table[0].inUse = -1;
    table[0].bearing = 202;  // step 56 (201.6 degrees): frames 199 to 201
    table[0].distance = 10;
    tickTo(200);
    tick(false);
    tick(false);
    EXPECT_EQ(sweep.sweepAngle(), 200);
    tick(true);
    EXPECT_EQ(sweep.sweepAngle(), 201);
    EXPECT_TRUE(marked());
    EXPECT_EQ(picture.only("move").size(), 57u);  // steps 0 to 56
}

}  // namespace
}  // namespace ovelsk
