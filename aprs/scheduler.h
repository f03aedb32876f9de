#pragma once
// Runs a task later on the event loop. Feeds pace themselves through it, so tests
// drive time by hand instead of sleeping.

#include <chrono>
#include <functional>
#include <memory>

namespace ovelsk::aprs {

class Scheduler {
public:
    virtual ~Scheduler() = default;
    // Runs `task` once, `delay` from now (at once for zero), never from inside this call.
    virtual void schedule(std::chrono::milliseconds delay, std::function<void()> task) = 0;
};

// The Qt event loop's timers. Tasks still pending when it is destroyed never run.
std::unique_ptr<Scheduler> makeEventLoopScheduler();

}  // namespace ovelsk::aprs
