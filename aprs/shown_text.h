#pragma once
// How text from outside (a settings value, a packet, a server's line) is put into
// a message: at most 80 characters, "..." after a longer one, and every control
// byte written as \xNN, so a message stays one readable line whatever it echoes.

#include <string>
#include <string_view>

namespace ovelsk::aprs {

inline constexpr std::size_t kShownCharacters = 80;

std::string shownText(std::string_view text);

}  // namespace ovelsk::aprs
