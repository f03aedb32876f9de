#pragma once
// A timer driven by hand: its call waits until the test runs it, and it records
// the delay it was started with. Starting it again replaces the waiting call.

#include <chrono>
#include <deque>
#include <functional>
#include <utility>

#include "feeds/feed_timer.h"

namespace ovelsk::aprs {

class FakeTimer final : public FeedTimer {
public:
    struct Pending {
        std::chrono::milliseconds delay;
        std::function<void()> task;
    };

    void start(std::chrono::milliseconds delay, std::function<void()> onExpiry) override {
        pending.clear();
        pending.push_back({delay, std::move(onExpiry)});
    }
    void stop() override { pending.clear(); }

    // Runs the waiting call; returns the delay it had been started with.
    std::chrono::milliseconds runNext() {
        auto next = std::move(pending.front());
        pending.pop_front();
        next.task();
        return next.delay;
    }

    std::deque<Pending> pending;  // at most one
};

}  // namespace ovelsk::aprs
