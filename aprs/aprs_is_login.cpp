#include "aprs/aprs_is_login.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "aprs/callsign.h"

namespace ovelsk::aprs {
namespace {

bool sameCallsign(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
    });
}

}  // namespace

std::string aprsIsLoginLine(const AprsIsLogin& login) {
    return "user " + login.callsign + " pass " + std::to_string(login.passcode) + " vers Ovelsk " OVELSK_VERSION
           " filter " + login.filter + "\r\n";
}

std::string aprsIsRangeFilter(double latitude, double longitude, double rangeKilometres) {
    char text[64];
    std::snprintf(text, sizeof text, "r/%.4f/%.4f/%.0f", latitude, longitude, std::ceil(rangeKilometres));
    return text;
}

bool isValidAprsIsCallsign(std::string_view callsign) { return isCallsignWord(callsign, 9); }

bool isValidAprsIsFilter(std::string_view filter) {
    for (const char c : filter) {
        if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F') {
            return false;
        }
    }
    return true;
}

bool isVerifiedLogresp(std::string_view line, std::string_view callsign) {
    constexpr std::string_view kPrefix = "# logresp ";
    if (!line.starts_with(kPrefix)) {
        return false;
    }
    line.remove_prefix(kPrefix.size());
    const auto afterCallsign = line.find(' ');
    if (afterCallsign == std::string_view::npos || !sameCallsign(line.substr(0, afterCallsign), callsign)) {
        return false;
    }
    line.remove_prefix(afterCallsign + 1);
    const std::string_view status = line.substr(0, line.find_first_of(", "));
    return status == "verified";
}

}  // namespace ovelsk::aprs
