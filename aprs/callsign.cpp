#include "aprs/callsign.h"

namespace ovelsk::aprs {
namespace {

constexpr std::size_t kMaxBaseLength = 9;
constexpr std::size_t kMaxSsidLength = 2;

bool isLettersAndDigits(std::string_view text, std::size_t maxLength) {
    if (text.empty() || text.size() > maxLength) return false;
    for (const char c : text) {
        if (!isLetterOrDigit(c)) return false;
    }
    return true;
}

}  // namespace

bool isValidSourceCallsign(std::string_view callsign) {
    const std::size_t dash = callsign.find('-');
    if (dash == std::string_view::npos) return isLettersAndDigits(callsign, kMaxBaseLength);
    return isLettersAndDigits(callsign.substr(0, dash), kMaxBaseLength) &&
           isLettersAndDigits(callsign.substr(dash + 1), kMaxSsidLength);
}

}  // namespace ovelsk::aprs
