#pragma once
// Date-time as a day count: days since 1899-12-30 00:00 UTC, the time of day as
// the fraction. "Now" counts in UTC, so nothing that compares date-times jumps
// at a daylight-saving change; local time is used only when a date-time is shown.

#include <chrono>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>

namespace ovelsk {

using DateTime = double;

inline constexpr double kMinute = 1.0 / 1440.0;

// A date-time in whole milliseconds, for windows counted in them.
inline std::int64_t wholeMilliseconds(DateTime d) { return std::llround(d * 86'400'000.0); }

DateTime dateTimeFromSystem(std::chrono::system_clock::time_point t);
std::chrono::system_clock::time_point systemFromDateTime(DateTime d);

// The whole second a date-time is shown as: the nearest, so 10:00:59.9999
// shows as 10:01:00, not 10:00:59. Every view shows a time by this one rule.
std::chrono::sys_seconds shownSecond(DateTime d);

// Local date and time of day as "YYYY-MM-DD HH:MM:SS".
std::string formatLocalDateTime(DateTime d);

class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime now() const = 0;
    // The wall-clock date-time of `t`, a time this clock gave, for showing it.
    virtual DateTime shownTime(DateTime t) const { return t; }
};

// The UTC wall clock as it is read, steps and all: for date-times that are only shown.
class SystemClock final : public Clock {
public:
    DateTime now() const override;
};

// "Now" for measuring intervals: the UTC wall clock as read at start, counted on
// by a clock that never steps and that counts time spent suspended. A step of the
// system clock then neither expires stations early nor keeps them late. Shown
// date-times still follow the wall clock: a time is shown moved by however far
// the wall clock has stepped since start (in whole seconds).
class SteadyClock final : public Clock {
public:
    using WallReading = std::function<std::chrono::system_clock::time_point()>;
    using SteadyReading = std::function<std::chrono::nanoseconds()>;

    // The system's wall clock and its boot-time clock.
    SteadyClock();
    SteadyClock(WallReading wall, SteadyReading steady);

    DateTime now() const override;
    DateTime shownTime(DateTime t) const override;

private:
    WallReading wall_;
    SteadyReading steady_;
    DateTime start_;
    std::chrono::nanoseconds steadyAtStart_;
};

}  // namespace ovelsk
