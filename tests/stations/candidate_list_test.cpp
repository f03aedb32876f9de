#include <cmath>

#include <gtest/gtest.h>

#include "tracker_fixture.h"

namespace ovelsk::testing {
namespace {

using CandidateList = TrackerFixture;

TEST_F(CandidateList, KeepsASlotHeardExactlyAnHourAgoAndFreesItJustAfter) {
    const DateTime rebuildAt = kStart + 1;
    clock.set(rebuildAt - 60.0 / 1440.0);
    tracker.RecordBeacon("RF", 1.0f, true);
    tracker.RecordBeacon("NET", 1.0f, false);

    clock.set(rebuildAt);
    tracker.RecordBeacon("OTHER", 1.0f, false);
    EXPECT_NE(find("RF"), nullptr);
    EXPECT_NE(find("NET"), nullptr);

    clock.set(std::nextafter(rebuildAt, 1e9));
    tracker.RecordBeacon("OTHER", 1.0f, false);
    EXPECT_EQ(find("RF"), nullptr);
    EXPECT_EQ(find("NET"), nullptr);
}

TEST_F(CandidateList, AStationHeardEitherWayWithinTheHourStays) {
    tracker.RecordBeacon("BOTH", 1.0f, true);
    clock.advanceMinutes(50);
    tracker.RecordBeacon("BOTH", 1.0f, false);
    clock.advanceMinutes(50);  // RF 100 minutes ago, Internet 50
    tracker.RecordBeacon("OTHER", 1.0f, false);
    EXPECT_NE(find("BOTH"), nullptr);
}

TEST_F(CandidateList, LoweringTheRangeFreesFartherStationsAtTheNextRecordedBeacon) {
    tracker.RecordBeacon("FAR", 30.0f, false);
    tracker.RecordBeacon("NEAR", 5.0f, false);
    window.range = "10";
    EXPECT_NE(find("FAR"), nullptr);  // nothing happens when the box changes

    tracker.RecordBeacon("NEAR", 5.0f, false);
    EXPECT_EQ(find("FAR"), nullptr);
    EXPECT_NE(find("NEAR"), nullptr);
    EXPECT_EQ(window.rows.size(), 1u);
}

TEST_F(CandidateList, ListsRfStationsOnlyAfterTwentyQuietMinutes) {
    tracker.RecordBeacon("QUIET", 1.0f, true);
    clock.set(kStart + 19.0 / 1440.0);
    tracker.RecordBeacon("RECENT", 1.0f, true);
    clock.set(kStart + (20 * 60 + 1) / 86400.0);
    tracker.RecordBeacon("NET", 1.0f, false);

    ASSERT_EQ(window.rows.size(), 2u);
    EXPECT_NE(window.rows[0].find("NET"), std::string::npos);
    EXPECT_NE(window.rows[1].find("QUIET"), std::string::npos);
    EXPECT_NE(window.rows[1].find(formatLocalDateTime(kStart)), std::string::npos);
}

TEST_F(CandidateList, RowsHaveOneOrTwoTabsAfterTheCallsign) {
    host.indexedList = {stationListLine("N0CALL", "270"), stationListLine("N0CALL-1", " 45"),
                        stationListLine("N0CAL-7", " 90")};
    tracker.RecordBeacon("N0CALL", 12.5f, false);
    tracker.RecordBeacon("N0CALL-1", 12.5f, false);
    tracker.RecordBeacon("N0CAL-7", 12.5f, false);

    EXPECT_EQ(window.rows, (std::vector<std::string>{"12.5\tN0CAL-7\t\tNot Heard Via RF\t90",
                                                      "12.5\tN0CALL\t\tNot Heard Via RF\t270",
                                                      "12.5\tN0CALL-1\tNot Heard Via RF\t45"}));
}

TEST_F(CandidateList, RowsRunInCaseInsensitiveTextOrder) {
    tracker.RecordBeacon("NINE", 9.5f, false);
    tracker.RecordBeacon("TEN", 10.2f, false);
    tracker.RecordBeacon("b", 3.0f, false);
    tracker.RecordBeacon("A", 3.0f, false);
    tracker.RecordBeacon("C", 3.0f, false);

    std::vector<std::string> callsigns;
    for (const auto& row : window.rows) callsigns.push_back(row.substr(row.find('\t') + 1, row.find('\t', row.find('\t') + 1) - row.find('\t') - 1));
    EXPECT_EQ(callsigns, (std::vector<std::string>{"TEN", "A", "b", "C", "NINE"}));
}

TEST_F(CandidateList, EveryRefillReachesTheWindowAndTheGatewayTogether) {
    tracker.RecordBeacon("NET", 1.0f, false);
    tracker.RecordBeacon("RF", 1.0f, true);
    ASSERT_EQ(gateway.writes.size(), 2u);
    EXPECT_EQ(gateway.writes.back(), window.rows);
    EXPECT_EQ(window.rows.size(), 1u);
}

TEST_F(CandidateList, RowsFollowEveryChangeOfTheirStation) {
    host.indexedList = {stationListLine("MOVER", " 90")};
    tracker.RecordBeacon("MOVER", 5.0f, false);
    EXPECT_EQ(window.rows, (std::vector<std::string>{"5\tMOVER\t\tNot Heard Via RF\t90"}));

    host.indexedList = {stationListLine("MOVER", "180")};
    tracker.RecordBeacon("MOVER", 6.0f, false);
    EXPECT_EQ(window.rows, (std::vector<std::string>{"6\tMOVER\t\tNot Heard Via RF\t180"}));

    tracker.RecordBeacon("MOVER", 6.0f, true);
    clock.advanceMinutes(21);
    tracker.RecordBeacon("MOVER", 6.0f, false);
    EXPECT_EQ(window.rows, (std::vector<std::string>{"6\tMOVER\t\t" + formatLocalDateTime(kStart) + "\t180"}));
}

TEST_F(CandidateList, AReclaimedSlotShowsItsNewStation) {
    tracker.RecordBeacon("FIRST", 5.0f, false);
    clock.advanceMinutes(61);
    tracker.RecordBeacon("OTHER", 7.0f, false);  // frees FIRST's slot 0
    tracker.RecordBeacon("SECOND", 5.0f, false); // same distance, bearing and RF time as FIRST had
    EXPECT_EQ(tracker.table()[0].callsign, "SECOND");
    EXPECT_EQ(window.rows, (std::vector<std::string>{"5\tSECOND\t\tNot Heard Via RF\t0",
                                                      "7\tOTHER\t\tNot Heard Via RF\t0"}));
}

TEST_F(CandidateList, TheMinuteTimerExpiresAndListsWithoutABeaconAndRewritesOnlyWhatChanged) {
    tracker.RecordBeacon("NET", 1.0f, false);
    tracker.RecordBeacon("RF", 2.0f, true);
    ASSERT_EQ(window.rows.size(), 1u);
    const auto writes = gateway.writes.size();

    clock.advanceMinutes(21);  // RF leaves the quiet window
    tracker.RebuildOnTimer();
    EXPECT_EQ(window.rows, (std::vector<std::string>{"1\tNET\t\tNot Heard Via RF\t0",
                                                      "2\tRF\t\t" + formatLocalDateTime(kStart) + "\t0"}));
    EXPECT_EQ(gateway.writes.size(), writes + 1);

    clock.advanceMinutes(1);
    tracker.RebuildOnTimer();
    EXPECT_EQ(gateway.writes.size(), writes + 1);
    EXPECT_EQ(window.refills, static_cast<int>(writes) + 1);

    clock.advanceMinutes(39);  // both silent for over an hour
    tracker.RebuildOnTimer();
    EXPECT_EQ(stationsInUse(), 0);
    EXPECT_TRUE(window.rows.empty());
    EXPECT_EQ(gateway.writes.size(), writes + 2);
    EXPECT_TRUE(gateway.writes.back().empty());
}

TEST_F(CandidateList, ShownTimesFollowAStepOfTheWallClock) {
    tracker.RecordBeacon("RF", 2.0f, true);
    clock.wallClockStep = 2.0 / 24;
    clock.advanceMinutes(21);
    tracker.RebuildOnTimer();
    EXPECT_EQ(window.rows, (std::vector<std::string>{"2\tRF\t\t" + formatLocalDateTime(kStart + 2.0 / 24) + "\t0"}));
}

TEST_F(CandidateList, AnEmptyTableStillRewritesTheSection) {
    tracker.RebuildCandidateList();
    ASSERT_EQ(gateway.writes.size(), 1u);
    EXPECT_TRUE(gateway.writes[0].empty());
    EXPECT_EQ(window.refills, 1);
}

TEST(NumberText, ShowsAtMostSevenSignificantDigits) {
    EXPECT_EQ(formatSingle(1.0f / 3.0f), "0.3333333");
    EXPECT_EQ(formatSingle(40.0f), "40");
    EXPECT_EQ(formatSingle(12.5f), "12.5");
    EXPECT_EQ(formatSingle(0.1f), "0.1");
    EXPECT_EQ(formatSingle(0.0f), "0");
    EXPECT_EQ(formatSingle(359.9999f), "359.9999");
    EXPECT_EQ(formatSingle(12345678.0f), "1.234568E+07");
}

TEST_F(CandidateList, LastHeardTextSaysNotHeardOnlyForTheNeverHeardMark) {
    EXPECT_EQ(tracker.FormatLastHeardRf(kNeverHeard), "Not Heard Via RF");
    EXPECT_EQ(tracker.FormatLastHeardRf(kNeverHeard + 1e-9), formatLocalDateTime(kNeverHeard + 1e-9));
}

}  // namespace
}  // namespace ovelsk::testing
