#include "feeds/replay_line.h"

#include "feeds/feed.h"

namespace ovelsk::aprs {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Exactly `count` digits at `at`.
std::optional<int> digitsAt(std::string_view text, std::size_t at, std::size_t count) {
    if (text.size() < at + count) return std::nullopt;
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (!isDigit(text[i])) return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

std::string_view nextField(std::string_view& rest) {
    std::size_t end = 0;
    while (end < rest.size() && !isBlank(rest[end])) ++end;
    const auto field = rest.substr(0, end);
    rest.remove_prefix(end);
    while (!rest.empty() && isBlank(rest.front())) rest.remove_prefix(1);
    return field;
}

// "IS" or "RF" and a port; RF100 would read as the Internet stream, so it is refused.
std::optional<std::int16_t> sourceNumber(std::string_view channel) {
    if (channel == "IS") return kInternetChannel;
    if (channel.size() < 3 || channel.size() > 7 || channel.substr(0, 2) != "RF") return std::nullopt;
    int port = 0;
    for (const char c : channel.substr(2)) {
        if (!isDigit(c)) return std::nullopt;
        port = port * 10 + (c - '0');
    }
    if (port > 32767 || port == kInternetChannel) return std::nullopt;
    return static_cast<std::int16_t>(port);
}

}  // namespace

std::optional<ReplayTime> parseUtcTime(std::string_view text) {
    using namespace std::chrono;
    // 2026-12-08T10:00:00Z
    // 0123456789012345678
    if (text.size() < 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
        text[16] != ':' || text.back() != 'Z')
        return std::nullopt;
    const auto y = digitsAt(text, 0, 4), mo = digitsAt(text, 5, 2), d = digitsAt(text, 8, 2);
    const auto h = digitsAt(text, 11, 2), mi = digitsAt(text, 14, 2), s = digitsAt(text, 17, 2);
    if (!y || !mo || !d || !h || !mi || !s || *h > 23 || *mi > 59 || *s > 59) return std::nullopt;
    const year_month_day date{year{*y}, month{static_cast<unsigned>(*mo)}, day{static_cast<unsigned>(*d)}};
    if (!date.ok()) return std::nullopt;

    int millis = 0;
    const std::string_view fraction = text.substr(19, text.size() - 20);
    if (!fraction.empty()) {
        if (fraction.size() < 2 || fraction.size() > 10 || fraction.front() != '.') return std::nullopt;
        int scale = 100;
        for (const char c : fraction.substr(1)) {
            if (!isDigit(c)) return std::nullopt;
            millis += (c - '0') * scale;
            scale /= 10;
        }
    }
    return sys_days{date} + hours{*h} + minutes{*mi} + seconds{*s} + milliseconds{millis};
}

ParsedReplayLine parseReplayLine(std::string_view text) {
    std::string_view rest = text;
    while (!rest.empty() && isBlank(rest.front())) rest.remove_prefix(1);
    if (rest.empty() || text.front() == '#') return {ReplayLineKind::Skipped, {}};
    rest = text;
    const auto time = parseUtcTime(nextField(rest));
    const auto source = sourceNumber(nextField(rest));
    if (!time || !source || rest.empty()) return {ReplayLineKind::Malformed, {}};
    return {ReplayLineKind::Packet, {*time, *source, rest}};
}

}  // namespace ovelsk::aprs
