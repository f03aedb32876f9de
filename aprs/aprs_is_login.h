#pragma once
// What an APRS-IS client sends and accepts: the line it logs in with, the checks
// that keep the settings that go into it from breaking it, and the longest line
// it takes from the server.
//   user N0CALL-10 pass -1 vers Ovelsk 1.0.0 filter r/51.5000/-0.1000/65

#include <cstddef>
#include <string>
#include <string_view>

namespace ovelsk::aprs {

inline constexpr int kReceiveOnlyPasscode = -1;

// Longer lines from the server are not APRS-IS packets; they are dropped whole.
inline constexpr std::size_t kAprsIsMaxLineBytes = 512;

struct AprsIsLogin {
    std::string callsign;
    int passcode = kReceiveOnlyPasscode;
    std::string filter;
};

// "user CALLSIGN pass PASSCODE vers Ovelsk VERSION filter FILTER" and CR LF.
std::string aprsIsLoginLine(const AprsIsLogin& login);

// The server-side range filter around home, "r/LAT/LON/KM", the kilometres
// rounded up so the filter covers the whole range.
std::string aprsIsRangeFilter(double latitude, double longitude, double rangeKilometres);

// A login callsign is what the server accepts: 1 to 9 letters, digits and "-".
bool isValidAprsIsCallsign(std::string_view callsign);
// A filter goes into the login line as it is: printable text, no line breaks.
bool isValidAprsIsFilter(std::string_view filter);

// Whether the server's answer to the login of `callsign` accepts the passcode,
// so the server takes packets from us:
//   # logresp N0CALL-10 verified, server T2EXAMPLE
// and not "unverified", nor an answer for another callsign (letter case aside,
// as the server compares them).
bool isVerifiedLogresp(std::string_view line, std::string_view callsign);

}  // namespace ovelsk::aprs
