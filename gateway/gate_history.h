#pragma once
// What the gateway remembers to keep to an iGate's manners: which packets went
// out or were heard on radio lately (a packet is never put on the air twice
// within a minute), and when it last transmitted (a sliding limit per minute
// and per five minutes). Times are milliseconds on the host's clock.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace ovelsk::gateway {

// Packets are the same when source, destination and information are, trailing
// spaces, CR and LF of the information aside (a server or tracker that adds one
// does not make a new packet). Beyond `maxEntries` the oldest are forgotten.
class RecentPackets {
public:
    explicit RecentPackets(std::int64_t windowMs, std::size_t maxEntries = SIZE_MAX)
        : windowMs_(windowMs), maxEntries_(maxEntries) {}

    // The packet with this source, destination and information, at `nowMs`.
    void add(std::string_view source, std::string_view destination, std::string_view information, std::int64_t nowMs);
    // Whether it was added less than the window ago.
    bool contains(std::string_view source, std::string_view destination, std::string_view information,
                  std::int64_t nowMs);
    // Whether it was added at `sinceMs` or later, and less than the window ago.
    bool addedSince(std::string_view source, std::string_view destination, std::string_view information,
                    std::int64_t sinceMs, std::int64_t nowMs);

private:
    struct TransparentHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };

    std::string_view key(std::string_view source, std::string_view destination, std::string_view information);
    void forgetBefore(std::int64_t nowMs);

    std::int64_t windowMs_;
    std::size_t maxEntries_;
    std::unordered_map<std::string, std::int64_t, TransparentHash, std::equal_to<>> lastSeen_;
    std::deque<std::pair<std::int64_t, std::string>> byTime_;  // oldest first
    std::string keyBuffer_;
};

class SendWindow {
public:
    SendWindow(int perMinute, int perFiveMinutes) : perMinute_(perMinute), perFiveMinutes_(perFiveMinutes) {}

    // Fewer than the limits were sent in the minute and the five minutes before `nowMs`.
    bool hasRoom(std::int64_t nowMs);
    void add(std::int64_t nowMs) { sent_.push_back(nowMs); }
    // Sent in the minute before `nowMs`, one just added at `nowMs` included.
    int inLastMinute(std::int64_t nowMs) const;

    int perMinute() const { return perMinute_; }
    int perFiveMinutes() const { return perFiveMinutes_; }

private:
    int perMinute_;
    int perFiveMinutes_;
    std::deque<std::int64_t> sent_;  // oldest first, at most the last five minutes
};

}  // namespace ovelsk::gateway
