#pragma once

#include "host/date_time.h"

namespace ovelsk::testing {

// A clock that only moves when the test moves it. `wallClockStep` is how far the
// wall clock has stepped away from it, which moves shown times.
class FakeClock final : public Clock {
public:
    explicit FakeClock(DateTime start = 46000.5) : now_(start) {}
    DateTime now() const override { return now_; }
    DateTime shownTime(DateTime t) const override { return t + wallClockStep; }
    void set(DateTime t) { now_ = t; }
    void advanceMinutes(double minutes) { now_ += minutes / 1440.0; }

    DateTime wallClockStep = 0;

private:
    DateTime now_;
};

}  // namespace ovelsk::testing
