#pragma once
// The shape of a source callsign: the only callsigns Ovelsk ever takes from a
// feed, so nothing else can reach the host's gateway list.
//   N0CALL   N0CALL-9   DL1ABC-10   W1AW-A1

#include <cstddef>
#include <string_view>

namespace ovelsk::aprs {

// An ASCII letter or digit, what AX.25 callsigns are made of.
inline constexpr bool isLetterOrDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A letter, digit or "-": a callsign with its SSID, or a word of a TNC2 path.
inline constexpr bool isCallsignCharacter(char c) { return isLetterOrDigit(c) || c == '-'; }

// 1 to `maxLength` callsign characters: the loose shape TNC2 text and APRS-IS
// logins give a callsign ("N0CALL-10"), a destination or a path word.
inline constexpr bool isCallsignWord(std::string_view text, std::size_t maxLength) {
    if (text.empty() || text.size() > maxLength) return false;
    for (const char c : text) {
        if (!isCallsignCharacter(c)) return false;
    }
    return true;
}

// 1 to 9 letters or digits, optionally "-" and 1 or 2 letters or digits.
bool isValidSourceCallsign(std::string_view callsign);

}  // namespace ovelsk::aprs
