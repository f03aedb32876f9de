#pragma once
// Date-time as a day count: days since 1899-12-30 00:00 UTC, the time of day as
// the fraction. "Now" always comes from the UTC wall clock, so nothing that
// compares date-times jumps at a daylight-saving change; local time is used
// only when a date-time is shown.

#include <chrono>
#include <string>

namespace ovelsk {

using DateTime = double;

inline constexpr double kMinute = 1.0 / 1440.0;

DateTime dateTimeFromSystem(std::chrono::system_clock::time_point t);
std::chrono::system_clock::time_point systemFromDateTime(DateTime d);

// Local date and time of day as "YYYY-MM-DD HH:MM:SS".
std::string formatLocalDateTime(DateTime d);

class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    DateTime now() const override;
};

}  // namespace ovelsk
