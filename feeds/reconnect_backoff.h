#pragma once
// Waits between connection attempts: 1 s after the first failure, doubling up to
// 60 s, and back to 1 s once a connection has carried data again.

#include <chrono>

namespace ovelsk::aprs {

class ReconnectBackoff {
public:
    static constexpr std::chrono::seconds kFirstDelay{1};
    static constexpr std::chrono::seconds kLongestDelay{60};

    // The wait before the next attempt; each call doubles the one after.
    std::chrono::seconds nextDelay();
    void reset() { next_ = kFirstDelay; }

private:
    std::chrono::seconds next_ = kFirstDelay;
};

}  // namespace ovelsk::aprs
