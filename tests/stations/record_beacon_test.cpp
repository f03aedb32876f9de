#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "tracker_fixture.h"

namespace ovelsk::testing {
namespace {

using RecordBeacon = TrackerFixture;

TEST_F(RecordBeacon, AcceptsUpToAndIncludingTheRange) {
    window.range = "40";
    tracker.RecordBeacon("AT", 40.0f, true);
    tracker.RecordBeacon("BEYOND", 40.01f, true);

    EXPECT_NE(find("AT"), nullptr);
    EXPECT_EQ(find("BEYOND"), nullptr);
    EXPECT_EQ(gateway.writes.size(), 1u);
}

TEST_F(RecordBeacon, IgnoresEverythingWhileTheRangeIsNotANumber) {
    for (const char* range : {"abc", "", "1E40", "nan", "inf", "0x20"}) {
        window.range = range;
        tracker.RecordBeacon("N0CALL", 1.0f, true);
        EXPECT_EQ(stationsInUse(), 0) << range;
    }
    EXPECT_EQ(window.refills, 0);
    EXPECT_EQ(gateway.writes.size(), 0u);
}

TEST_F(RecordBeacon, NeverRecordsADistanceThatIsNotANumber) {
    tracker.RecordBeacon("N0CALL", std::numeric_limits<float>::quiet_NaN(), true);
    EXPECT_EQ(stationsInUse(), 0);
}

TEST_F(RecordBeacon, KeepsOneSlotPerStationAcrossRoutes) {
    tracker.RecordBeacon("N0CALL", 10.0f, false);
    const DateTime first = clock.now();
    clock.advanceMinutes(5);
    tracker.RecordBeacon("N0CALL", 12.0f, true);

    ASSERT_EQ(stationsInUse(), 1);
    const auto* station = find("N0CALL");
    EXPECT_EQ(station->lastHeardOther, first);
    EXPECT_EQ(station->lastHeardRf, clock.now());
    EXPECT_EQ(station->distance, 12.0f);
}

TEST_F(RecordBeacon, TellsCallsignsApartByLetterCase) {
    tracker.RecordBeacon("N0CALL-1", 1.0f, false);
    tracker.RecordBeacon("n0call-1", 1.0f, false);
    EXPECT_EQ(stationsInUse(), 2);
}

TEST_F(RecordBeacon, StoresTheBearingFromTheHostsLists) {
    host.indexedList = {stationListLine("N0CALL-9", "270")};
    tracker.RecordBeacon("N0CALL-9", 3.0f, true);
    EXPECT_EQ(find("N0CALL-9")->bearing, 270.0f);
}

TEST_F(RecordBeacon, FullTableDropsNewcomersButStillRecordsItsOwnStations) {
    for (int i = 0; i < kStationSlots; ++i) tracker.RecordBeacon("S" + std::to_string(i), 1.0f, false);
    ASSERT_EQ(stationsInUse(), kStationSlots);
    const size_t writesBefore = gateway.writes.size();

    tracker.RecordBeacon("NEW", 1.0f, false);
    EXPECT_EQ(find("NEW"), nullptr);
    EXPECT_EQ(window.statuses.back(), "Max 150 Stations");
    EXPECT_EQ(gateway.writes.size(), writesBefore);

    clock.advanceMinutes(1);
    tracker.RecordBeacon("S150", 2.0f, true);
    EXPECT_EQ(find("S150")->distance, 2.0f);
    EXPECT_EQ(gateway.writes.size(), writesBefore + 1);
}

// A newcomer shows none of its slot's last occupant: neither the radio time
// nor the time heard otherwise.
TEST_F(RecordBeacon, ReclaimsTheFirstFreeSlotsWithNothingOfTheirLastOccupants) {
    for (const char* old : {"OLD-1", "OLD-2"}) {
        tracker.RecordBeacon(old, 5.0f, true);
        tracker.RecordBeacon(old, 5.0f, false);
    }
    tracker.RecordBeacon("KEEP", 5.0f, false);
    clock.advanceMinutes(61);
    tracker.RecordBeacon("KEEP", 5.0f, false);  // the rebuild frees slots 0 and 1
    ASSERT_EQ(stationsInUse(), 1);

    tracker.RecordBeacon("NEW-RF", 6.0f, true);
    tracker.RecordBeacon("NEW-NET", 6.0f, false);
    const auto& slot0 = tracker.table()[0];
    const auto& slot1 = tracker.table()[1];
    EXPECT_EQ(slot0.callsign, "NEW-RF");
    EXPECT_EQ(slot0.inUse, -1);
    EXPECT_EQ(slot0.lastHeardOther, 0);
    EXPECT_EQ(slot1.callsign, "NEW-NET");
    EXPECT_EQ(slot1.lastHeardRf, kNeverHeard);
}

}  // namespace
}  // namespace ovelsk::testing
