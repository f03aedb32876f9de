#include "host/station_list_line.h"

namespace ovelsk {

std::string_view stationListColumns(std::string_view line, std::size_t first, std::size_t count) {
    if (line.size() < first) return {};
    return line.substr(first - 1, count);
}

std::string_view stationListCallsign(std::string_view line) {
    auto callsign = stationListColumns(line, 2, 11);
    while (!callsign.empty() && callsign.front() == ' ') callsign.remove_prefix(1);
    while (!callsign.empty() && callsign.back() == ' ') callsign.remove_suffix(1);
    if (!callsign.empty() && callsign.back() == '*') callsign.remove_suffix(1);
    return callsign;
}

}  // namespace ovelsk
