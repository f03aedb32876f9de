#pragma once
// Where the feeds report connection changes and server messages: one line each.

#include <functional>
#include <string_view>

namespace ovelsk::aprs {

using FeedLog = std::function<void(std::string_view line)>;

// Writes the line to standard error.
void logToStandardError(std::string_view line);

}  // namespace ovelsk::aprs
