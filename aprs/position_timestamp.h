#pragma once
// The time of fix that "/" and "@" positions carry before the position itself,
// seven bytes in one of three forms:
//   092345z    day 09 of the month, 23:45 UTC
//   092345/    day 09, 23:45 local time
//   234517h    23:45:17 UTC

#include <cstddef>
#include <string_view>

namespace ovelsk::aprs {

inline constexpr std::size_t kTimestampLength = 7;

// Whether text starts with a timestamp of one of the three forms, every field in
// range. Without this check a report whose timestamp is missing would lose its
// first seven position bytes and be read, wrongly, from what follows.
bool startsWithTimestamp(std::string_view text);

}  // namespace ovelsk::aprs
