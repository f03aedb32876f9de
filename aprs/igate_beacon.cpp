#include "aprs/igate_beacon.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace ovelsk::aprs {
namespace {

constexpr int kHundredthsPerDegree = 60 * 100;

// How many hops an address of a digipeater path asks for.
int hopsOf(std::string_view address) {
    int hops = 0;
    const auto dash = address.find('-');
    const std::string_view base = address.substr(0, dash);
    if (dash == std::string_view::npos || base.size() != 5 || !base.starts_with("WIDE")) return 1;
    const std::string_view ssid = address.substr(dash + 1);
    const auto [end, ec] = std::from_chars(ssid.data(), ssid.data() + ssid.size(), hops);
    return ec == std::errc{} && end == ssid.data() + ssid.size() ? hops : 1;
}

// "DDMM.mm" (or "DDDMM.mm" with three degree digits) and the hemisphere letter.
void appendCoordinate(std::string& out, double degrees, int degreeDigits, char positive, char negative) {
    const long long hundredths = std::llround(std::abs(degrees) * kHundredthsPerDegree);
    char text[48];
    std::snprintf(text, sizeof text, "%0*lld%02lld.%02lld%c", degreeDigits, hundredths / kHundredthsPerDegree,
                  hundredths % kHundredthsPerDegree / 100, hundredths % 100, degrees < 0 ? negative : positive);
    out += text;
}

}  // namespace

char igateOverlay(bool deliversMessagesToRadio, std::string_view via) {
    if (!deliversMessagesToRadio) return 'R';
    int hops = 0;
    while (!via.empty()) {
        const auto comma = via.find(',');
        hops += hopsOf(via.substr(0, comma));
        via = comma == std::string_view::npos ? std::string_view{} : via.substr(comma + 1);
    }
    return hops <= 1 ? 'T' : hops == 2 ? '2' : 'I';
}

std::string igatePositionReport(double latitude, double longitude, char overlay, std::string_view comment) {
    std::string report = "!";
    appendCoordinate(report, latitude, 2, 'N', 'S');
    report += overlay;
    appendCoordinate(report, longitude, 3, 'E', 'W');
    report += '&';
    report += comment;
    return report;
}

bool isValidBeaconComment(std::string_view comment) {
    if (comment.size() > kMaxBeaconCommentBytes) return false;
    for (const char c : comment) {
        if (c < ' ' || c > '~') return false;
    }
    return true;
}

}  // namespace ovelsk::aprs
