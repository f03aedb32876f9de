#include <chrono>
#include <cstdlib>
#include <ctime>

#include <gtest/gtest.h>

#include "host/date_time.h"

namespace ovelsk {
namespace {

using namespace std::chrono;

// The day count follows the UTC wall clock: an hour is 1/24 of a day even across
// a daylight-saving change, so expiry neither comes early nor late.
TEST(DateTime, CountsUtcDaysWhateverTheLocalZone) {
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    setenv("TZ", "Europe/London", 1);
    tzset();

    const sys_days springForward = 2026y / March / 29;
    const DateTime before = dateTimeFromSystem(springForward + 30min);
    const DateTime after = dateTimeFromSystem(springForward + 1h + 30min);
    EXPECT_NEAR(after - before, 1.0 / 24.0, 1e-9);
    EXPECT_EQ(dateTimeFromSystem(sys_days{1899y / December / 30}), 0.0);
    EXPECT_EQ(dateTimeFromSystem(sys_days{1970y / January / 1}), 25569.0);

    // Shown in local time: 00:30 UTC is still GMT, 01:30 UTC is 02:30 BST.
    EXPECT_EQ(formatLocalDateTime(before), "2026-03-29 00:30:00");
    EXPECT_EQ(formatLocalDateTime(after), "2026-03-29 02:30:00");

    if (old) setenv("TZ", saved.c_str(), 1); else unsetenv("TZ");
    tzset();
}

TEST(DateTime, RoundTripsThroughTheSystemClock) {
    const auto t = sys_days{2026y / December / 8} + 10h + 15min + 30s;
    EXPECT_EQ(systemFromDateTime(dateTimeFromSystem(t)), t);
}

// Intervals come from the steady clock; the wall clock only sets the start and
// what times are shown as.
TEST(DateTime, SteadyClockCountsOnFromTheStartWhateverTheWallClockDoes) {
    system_clock::time_point wall = sys_days{2026y / December / 8} + 10h;
    nanoseconds steady = 5000s;
    const SteadyClock clock([&] { return wall; }, [&] { return steady; });
    const DateTime start = dateTimeFromSystem(wall);
    EXPECT_DOUBLE_EQ(clock.now(), start);

    steady += 30s;
    wall += 2h + 30s;  // the system clock steps forward
    EXPECT_NEAR(clock.now(), start + 30.0 / 86400, 1e-9);
    EXPECT_NEAR(clock.shownTime(start), start + 2.0 / 24, 1e-9);

    steady += 30s;
    wall -= 4h - 30s;  // and back, past where it started
    EXPECT_NEAR(clock.now(), start + 60.0 / 86400, 1e-9);
    EXPECT_NEAR(clock.shownTime(start), start - 2.0 / 24, 1e-9);
}

}  // namespace
}  // namespace ovelsk
