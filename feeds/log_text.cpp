#include "feeds/log_text.h"

#include <cstdio>

namespace ovelsk::aprs {

std::string escapedForLog(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            escaped.push_back(c);
            continue;
        }
        char code[5];
        std::snprintf(code, sizeof code, "\\x%02X", byte);
        escaped += code;
    }
    return escaped;
}

namespace {

std::string cutAndEscaped(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) return escapedForLog(text);
    return escapedForLog(text.substr(0, limit)) + "...";
}

}  // namespace

std::string serverLineForLog(std::string_view line) { return cutAndEscaped(line, kMaxLoggedServerBytes); }

std::string valueForLog(std::string_view value) { return cutAndEscaped(value, kMaxEchoedValueBytes); }

std::string utcText(std::chrono::sys_time<std::chrono::milliseconds> time) {
    using namespace std::chrono;
    const auto day = floor<days>(time);
    const year_month_day date{day};
    const hh_mm_ss clock{floor<seconds>(time - day)};
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
    return text;
}

}  // namespace ovelsk::aprs
