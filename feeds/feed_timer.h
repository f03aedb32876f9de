#pragma once
// A one-shot timer on the event loop for the feeds' waits (replay pacing, retry,
// silence), so tests can step through them without waiting.

#include <chrono>
#include <functional>
#include <memory>

namespace ovelsk::aprs {

class FeedTimer {
public:
    virtual ~FeedTimer() = default;
    // Calls onExpiry once, `delay` from now, unless stopped or started again first.
    virtual void start(std::chrono::milliseconds delay, std::function<void()> onExpiry) = 0;
    virtual void stop() = 0;
};

// The real thing, on the Qt event loop of the calling thread.
std::unique_ptr<FeedTimer> makeEventLoopTimer();

}  // namespace ovelsk::aprs
