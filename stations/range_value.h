#pragma once

#include <optional>
#include <string_view>

namespace ovelsk {

// The one test of whether a range text is numeric, and its conversion to a
// 32-bit float. Plain decimals with ".", an optional sign, an optional exponent
// and blanks around them pass ("40", " -1.5e2 ", ".5", "5."). Empty text, NaN,
// infinity, hex, thousands separators and values a float cannot hold (1E40) do not.
std::optional<float> rangeValue(std::string_view text);

}  // namespace ovelsk
