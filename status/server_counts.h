#pragma once
// What the status page's server refused or cut off since start, counted on its
// own thread and read by /metrics.

#include <atomic>
#include <cstdint>

namespace ovelsk {

struct ServerCounts {
    std::atomic<std::uint64_t> refusedAtCap{0};       // answered 503: every slot taken
    std::atomic<std::uint64_t> refusedAtDeadline{0};  // the request line and headers came too slowly
    std::atomic<std::uint64_t> refusedForHost{0};     // answered 421: a Host the page does not answer to
    std::atomic<std::uint64_t> closedNotReading{0};   // the client did not read its answer in time
};

}  // namespace ovelsk
