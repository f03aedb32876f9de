#include "aprs/igate_beacon.h"

#include <cmath>
#include <cstdio>

#include "aprs/aprs_message.h"

namespace ovelsk::aprs {
namespace {

constexpr int kHundredthsPerDegree = 60 * 100;

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
    const int hops = digipeaterHopsAsked(via);
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
