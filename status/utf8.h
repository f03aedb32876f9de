#pragma once
// Text from the network is any bytes; what the status page writes is UTF-8.

#include <cstddef>
#include <string>
#include <string_view>

namespace ovelsk {

// The length of the well-formed UTF-8 sequence at the start of `text`, or 0:
// no overlong forms, no surrogates, nothing above U+10FFFF.
std::size_t utf8Length(std::string_view text);

// `text` with each byte that is not part of a well-formed sequence replaced by U+FFFD.
std::string validUtf8(std::string_view text);

}  // namespace ovelsk
