#include "standin/station_list.h"

#include <gtest/gtest.h>

#include <string>

#include "stations/station_tracker.h"

namespace ovelsk::standin {
namespace {

StationListEntry entry(std::string_view callsign, double bearing = 0, bool viaDigipeater = false) {
    return {callsign, viaDigipeater, "2026-12-08 10:00:00", 12.34, "mi", bearing};
}

TEST(StationListLine, ReadsBackThroughTheTrackerColumnRules) {
    for (const std::string_view callsign : {"N0CALL", "N0CALL-9", "DL1ABC-15", "A"}) {
        for (const bool digipeated : {false, true}) {
            const auto line = formatStationListLine(entry(callsign, 274.4, digipeated));
            EXPECT_EQ(stationListCallsign(line), callsign) << line;
            EXPECT_EQ(stationListBearing(line), 274.0f) << line;
            EXPECT_EQ(line.size(), 57u);
        }
    }
}

TEST(StationListLine, PutsTheStarRightAfterTheCallsignAndTheRestBetweenTheColumns) {
    const auto line = formatStationListLine(entry("N0CALL-9", 5, true));
    EXPECT_EQ(line.substr(0, 13), " N0CALL-9*   ");
    EXPECT_NE(line.find("2026-12-08 10:00:00"), std::string::npos);
    EXPECT_NE(line.find("12.3 mi"), std::string::npos);
    EXPECT_EQ(line.substr(54, 3), "  5");
}

// The map answers for the lines only while every line reads back as its own callsign.
TEST(StationList, ItsIndexStopsBeingExactForACallsignTheColumnsCannotHold) {
    StationList list(10, stationListHeader());
    list.update(entry("N0CALL-9", 90, true));
    ASSERT_TRUE(list.indexExact());
    EXPECT_EQ(list.find("N0CALL-9"), list.lines()[1]);
    EXPECT_EQ(list.find("Callsign"), std::nullopt);
    list.update(entry("ABCDEFGHIJKL"));
    EXPECT_FALSE(list.indexExact());
}

TEST(StationListLine, BearingIsAWholeNumberFrom0To360) {
    EXPECT_EQ(stationListBearing(formatStationListLine(entry("N0CALL", 0.4))), 0.0f);
    EXPECT_EQ(stationListBearing(formatStationListLine(entry("N0CALL", 359.6))), 360.0f);
    EXPECT_EQ(stationListBearing(formatStationListLine(entry("N0CALL", 89.5))), 90.0f);
}

TEST(StationListLine, AHugeDistanceStaysOutOfTheBearingColumns) {
    auto far = entry("N0CALL", 123);
    far.distance = 1e12;
    EXPECT_EQ(stationListBearing(formatStationListLine(far)), 123.0f);
}

TEST(StationList, UpdatesAStationInPlace) {
    StationList list;
    list.update(entry("AAA", 10));
    list.update(entry("BBB", 20));
    list.update(entry("AAA", 30, true));
    ASSERT_EQ(list.lines().size(), 2u);
    EXPECT_EQ(list.lines()[0].substr(0, 6), " AAA* ");
    EXPECT_EQ(stationListBearing(list.lines()[0]), 30.0f);
    EXPECT_EQ(stationListCallsign(list.lines()[1]), "BBB");
}

TEST(StationList, KeepsItsHeaderAsElementZero) {
    StationList list(kMaxStationListLines, stationListHeader());
    list.update(entry("AAA", 10));
    ASSERT_EQ(list.lines().size(), 2u);
    EXPECT_EQ(list.lines()[0], stationListHeader());
    EXPECT_EQ(stationListCallsign(list.lines()[1]), "AAA");
    EXPECT_EQ(stationListBearing(stationListHeader()), 0.0f);
}

TEST(StationList, WhenFullTheStationSilentLongestGivesUpItsLine) {
    StationList list(4, stationListHeader());  // header and three stations
    list.update(entry("AAA"));
    list.update(entry("BBB"));
    list.update(entry("CCC"));
    list.update(entry("AAA"));  // BBB is now the one silent longest
    list.update(entry("DDD"));
    ASSERT_EQ(list.lines().size(), 4u);
    EXPECT_EQ(list.stationCount(), 3u);
    EXPECT_EQ(list.lines()[0], stationListHeader());
    EXPECT_EQ(stationListCallsign(list.lines()[2]), "DDD");
    list.update(entry("EEE"));  // then CCC
    EXPECT_EQ(stationListCallsign(list.lines()[3]), "EEE");
    list.update(entry("BBB"));  // BBB comes back as new, taking AAA's line
    EXPECT_EQ(stationListCallsign(list.lines()[1]), "BBB");
    list.update(entry("DDD", 77));  // still found where it is
    EXPECT_EQ(stationListBearing(list.lines()[2]), 77.0f);
    EXPECT_EQ(list.stationCount(), 3u);
}

TEST(StationList, NeverHoldsMoreThan32767Lines) {
    StationList list(1'000'000);
    for (int i = 0; i < 32767 + 10; ++i) list.update(entry("S" + std::to_string(i)));
    EXPECT_EQ(list.lines().size(), 32767u);
    EXPECT_EQ(stationListCallsign(list.lines()[0]), "S32767");
    EXPECT_EQ(stationListCallsign(list.lines()[9]), "S32776");
    EXPECT_EQ(stationListCallsign(list.lines()[10]), "S10");
}

}  // namespace
}  // namespace ovelsk::standin
