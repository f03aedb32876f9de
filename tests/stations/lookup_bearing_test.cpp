#include <gtest/gtest.h>

#include "tracker_fixture.h"

namespace ovelsk::testing {
namespace {

using LookupBearing = TrackerFixture;

TEST_F(LookupBearing, ReadsTheCallsignColumnsWithoutBlanksOrTheDigipeatedMark) {
    EXPECT_EQ(stationListCallsign(stationListLine("N0CALL-9*", "123")), "N0CALL-9");
    EXPECT_EQ(stationListCallsign(" N0CALL-9  "), "N0CALL-9");
    EXPECT_EQ(stationListCallsign(" \tN0CALL"), "\tN0CALL");  // only spaces are trimmed
    EXPECT_EQ(stationListCallsign(" ABCDEFGHIJKLMN"), "ABCDEFGHIJK");
    EXPECT_EQ(stationListCallsign(""), "");
}

TEST_F(LookupBearing, FindsTheStationInEitherListAndPrefersTheFirst) {
    host.indexedList = {stationListLine("AAA", " 10"), stationListLine("BOTH*", " 20")};
    host.secondList = {stationListLine("NET", "999"), stationListLine("BOTH", " 30"),
                       stationListLine("NET", "300")};

    EXPECT_EQ(tracker.LookupBearing("AAA"), 10.0f);
    EXPECT_EQ(tracker.LookupBearing("BOTH"), 20.0f);
    EXPECT_EQ(tracker.LookupBearing("NET"), 300.0f);  // element 0 is the list's header
    EXPECT_EQ(tracker.LookupBearing("nobody"), 0.0f);
    EXPECT_EQ(tracker.LookupBearing("aaa"), 0.0f);
}

TEST_F(LookupBearing, UnreadableBearingColumnsGiveZero) {
    host.indexedList = {stationListLine("BLANK", "   "), stationListLine("WORD", "abc"), " SHORT",
                        stationListLine("PART", "9x")};
    for (const char* callsign : {"BLANK", "WORD", "SHORT", "PART"}) EXPECT_EQ(tracker.LookupBearing(callsign), 0.0f) << callsign;
}

TEST_F(LookupBearing, AsksTheHostAfreshEveryTime) {
    host.indexedList = {stationListLine("MOVER", " 90")};
    EXPECT_EQ(tracker.LookupBearing("MOVER"), 90.0f);
    host.indexedList = {stationListLine("MOVER", "180")};
    EXPECT_EQ(tracker.LookupBearing("MOVER"), 180.0f);
}

}  // namespace
}  // namespace ovelsk::testing
