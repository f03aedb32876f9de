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

std::string serverLineForLog(std::string_view line) {
    if (line.size() <= kMaxLoggedServerBytes) return escapedForLog(line);
    return escapedForLog(line.substr(0, kMaxLoggedServerBytes)) + "...";
}

}  // namespace ovelsk::aprs
