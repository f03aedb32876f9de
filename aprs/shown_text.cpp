#include "aprs/shown_text.h"

#include <cstdio>

namespace ovelsk::aprs {
namespace {

// A UTF-8 continuation byte belongs to the character before it.
bool continuesCharacter(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

std::string shownText(std::string_view text) {
    std::string shown;
    shown.reserve(text.size() < kShownCharacters ? text.size() : kShownCharacters);
    std::size_t characters = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (!continuesCharacter(byte) && ++characters > kShownCharacters) {
            shown += "...";
            break;
        }
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
        } else {
            shown += c;
        }
    }
    return shown;
}

}  // namespace ovelsk::aprs
