#include "host/date_time.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <utility>

namespace ovelsk {
namespace {

// 1899-12-30 is 25569 days before the Unix epoch.
constexpr double kUnixEpochDay = 25569.0;
constexpr double kSecondsPerDay = 86400.0;

// CLOCK_BOOTTIME: like std::chrono::steady_clock, but it goes on while the machine
// sleeps, so stations heard before a suspend are as old after it as they really are.
std::chrono::nanoseconds bootTime() {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

}  // namespace

DateTime dateTimeFromSystem(std::chrono::system_clock::time_point t) {
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(t.time_since_epoch()).count();
    return kUnixEpochDay + static_cast<double>(micros) / (kSecondsPerDay * 1e6);
}

std::chrono::system_clock::time_point systemFromDateTime(DateTime d) {
    const double micros = std::round((d - kUnixEpochDay) * kSecondsPerDay * 1e6);
    return std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(
            std::chrono::microseconds(static_cast<long long>(micros))));
}

std::chrono::sys_seconds shownSecond(DateTime d) {
    return std::chrono::sys_seconds(std::chrono::seconds(std::llround((d - kUnixEpochDay) * kSecondsPerDay)));
}

std::string formatLocalDateTime(DateTime d) {
    const auto seconds = std::chrono::system_clock::to_time_t(shownSecond(d));
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

DateTime SystemClock::now() const { return dateTimeFromSystem(std::chrono::system_clock::now()); }

SteadyClock::SteadyClock() : SteadyClock([] { return std::chrono::system_clock::now(); }, bootTime) {}

SteadyClock::SteadyClock(WallReading wall, SteadyReading steady)
    : wall_(std::move(wall)), steady_(std::move(steady)), start_(dateTimeFromSystem(wall_())),
      steadyAtStart_(steady_()) {}

DateTime SteadyClock::now() const {
    const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(steady_() - steadyAtStart_);
    return start_ + static_cast<double>(elapsed.count()) / (kSecondsPerDay * 1e6);
}

DateTime SteadyClock::shownTime(DateTime t) const {
    // Whole seconds, so reading the two clocks a moment apart never moves a shown time.
    const double step = std::round((dateTimeFromSystem(wall_()) - now()) * kSecondsPerDay);
    return t + step / kSecondsPerDay;
}

}  // namespace ovelsk
