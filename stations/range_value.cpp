#include "stations/range_value.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace ovelsk {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// [+-]? (digits [. digits?] | . digits) ([eE] [+-]? digits)?
bool isPlainDecimal(std::string_view s) {
    size_t i = 0;
    const auto digits = [&] {
        const size_t start = i;
        while (i < s.size() && isDigit(s[i])) ++i;
        return i - start;
    };
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t mantissaDigits = digits();
    if (i < s.size() && s[i] == '.') {
        ++i;
        mantissaDigits += digits();
    }
    if (mantissaDigits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        if (digits() == 0) return false;
    }
    return i == s.size();
}

}  // namespace

std::optional<float> rangeValue(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    if (!isPlainDecimal(text)) return std::nullopt;
    if (text.front() == '+') text.remove_prefix(1);  // from_chars takes no plus sign
    float value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace ovelsk
