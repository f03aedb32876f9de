#include "feeds/reconnect_backoff.h"

#include <algorithm>

namespace ovelsk::aprs {

std::chrono::seconds ReconnectBackoff::nextDelay() {
    const auto delay = next_;
    next_ = std::min(next_ * 2, kLongestDelay);
    return delay;
}

}  // namespace ovelsk::aprs
