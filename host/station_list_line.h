#pragma once
// The host's station-list lines: fixed columns, counted from 1, the callsign in
// 2 to 12 (padded with spaces, a "*" after it when digipeated), the bearing in
// 55 to 57.

#include <cstddef>
#include <string_view>

namespace ovelsk {

// Characters first..first+count-1 of a line, counted from 1; short lines give what they have.
std::string_view stationListColumns(std::string_view line, std::size_t first, std::size_t count);

// The callsign of a line as the bearing look-up compares it: columns 2 to 12,
// spaces (not tabs) trimmed at both ends, and a last "*" dropped.
std::string_view stationListCallsign(std::string_view line);

}  // namespace ovelsk
