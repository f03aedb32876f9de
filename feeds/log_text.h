#pragma once
// Text a message shows comes partly from outside: a server's lines, a packet, a
// host name, file path or other value from the settings. Escaped, none of it can
// move the terminal's cursor, clear the screen, or pass for a log line of its own.

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace ovelsk::aprs {

// A server says what it likes; the log keeps this much of one line.
inline constexpr std::size_t kMaxLoggedServerBytes = 200;
// Of a value from a settings file or a packet, a message echoes this much.
inline constexpr std::size_t kMaxEchoedValueBytes = 80;

// `text` with every control byte and every byte from 0x80 up written as \xNN.
std::string escapedForLog(std::string_view text);

// A line from a server as the log shows it: at most its first 200 bytes,
// escaped, and "..." after it when it was cut.
std::string serverLineForLog(std::string_view line);

// A value from a settings file or a packet as a message echoes it: at most its
// first 80 bytes, escaped, and "..." after it when it was cut.
std::string valueForLog(std::string_view value);

// "2026-12-08T10:00:00Z", as replay files write times. In milliseconds, which
// reach the years 1 to 9999 of a replay line (nanoseconds reach 1678 to 2262).
std::string utcText(std::chrono::sys_time<std::chrono::milliseconds> time);

}  // namespace ovelsk::aprs
