#pragma once
// A scheduler driven by hand: tasks wait until the test runs them, and it records
// the delay each was asked for.

#include <chrono>
#include <deque>
#include <functional>
#include <utility>

#include "aprs/scheduler.h"

namespace ovelsk::aprs {

class FakeScheduler final : public Scheduler {
public:
    struct Pending {
        std::chrono::milliseconds delay;
        std::function<void()> task;
    };

    void schedule(std::chrono::milliseconds delay, std::function<void()> task) override {
        pending.push_back({delay, std::move(task)});
    }

    // Runs the task due first; returns the delay it had been scheduled with.
    std::chrono::milliseconds runNext() {
        auto next = std::move(pending.front());
        pending.pop_front();
        next.task();
        return next.delay;
    }

    std::deque<Pending> pending;
};

}  // namespace ovelsk::aprs
