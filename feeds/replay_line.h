#pragma once
// One line of a replay file: the time it was heard, the channel, the packet.
//
//   2026-12-08T10:00:00Z IS N0CALL-9>APRS,TCPIP*,qAC,T2TEST:!4903.50N/07201.75W-
//   2026-12-08T10:00:07Z RF0 N0CALL>APRS,WIDE1-1:=4903.50N/07201.75W-
//
// TIME is ISO 8601 UTC (fractions of a second allowed), CHANNEL "IS" for the
// Internet stream or "RF" and the radio port, PACKET the TNC2 text to the line end.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>

namespace ovelsk::aprs {

using ReplayTime = std::chrono::sys_time<std::chrono::milliseconds>;

struct ReplayLine {
    ReplayTime time;
    std::int16_t sourceNumber = 0;  // 100 for IS, the port for RF<port>
    std::string_view packet;        // points into the parsed line
};

enum class ReplayLineKind { Packet, Skipped, Malformed };

struct ParsedReplayLine {
    ReplayLineKind kind = ReplayLineKind::Malformed;
    ReplayLine line;  // set for Packet
};

// Blank lines and "#" comments are Skipped; anything not of the form above is Malformed.
ParsedReplayLine parseReplayLine(std::string_view text);

// "2026-12-08T10:00:00Z", "2026-12-08T10:00:00.250Z"; nullopt for anything else,
// including dates that do not exist.
std::optional<ReplayTime> parseUtcTime(std::string_view text);

}  // namespace ovelsk::aprs
