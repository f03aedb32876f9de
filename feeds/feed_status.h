#pragma once
// What a feed tells about itself to whoever shows the host's state: its name,
// where its link stands and since when, how many packets it delivered and the
// last thing that went wrong. A snapshot; the feed keeps no reader.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ovelsk::aprs {

enum class FeedState {
    Idle,        // not started yet
    Connecting,  // an attempt under way
    Connected,   // the link is up (a serial device: open)
    Retrying,    // the last attempt failed or the link went; another comes at retryAt
    Playing,     // a replay or the demo
};

std::string_view feedStateLabel(FeedState state);

struct FeedStatus {
    using Time = std::chrono::system_clock::time_point;

    std::string name;  // "aprs-is:rotate.aprs2.net:14580", "demo"
    FeedState state = FeedState::Idle;
    Time since{};    // when the state began; the epoch while Idle
    Time retryAt{};  // the next attempt, while Retrying
    std::uint64_t packets = 0;
    std::string lastError;  // empty until something went wrong
    // An APRS-IS feed whose server answered the login; unset for the other feeds.
    std::optional<bool> loginVerified;
};

// The part of a name before its first ":" ("aprs-is", "kiss", "demo").
std::string_view feedKind(std::string_view name);

}  // namespace ovelsk::aprs
