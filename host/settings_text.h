#pragma once
// Text helpers for the hand-edited files Ovelsk reads (the host settings,
// igate.ini): blanks around a value are not part of it, and keys and words
// match whatever their letter case.

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstddef>
#include <optional>
#include <string_view>

namespace ovelsk {

// `s` without the `blanks` it starts or ends with.
inline std::string_view trimBlanks(std::string_view s, std::string_view blanks = " \t") {
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

// Notepad's "Unicode" and "Unicode big endian", marked or not (a file saved by
// another editor or a script may lack the byte-order mark, and then its text,
// mostly ASCII, has a NUL in every other byte): every byte-wise line would be
// broken in two.
inline bool savedAsUtf16(std::string_view content) {
    if (content.starts_with("\xFF\xFE") || content.starts_with("\xFE\xFF")) return true;
    constexpr size_t kBytesLooked = 256;
    const std::string_view start = content.substr(0, std::min(content.size(), kBytesLooked) & ~size_t{1});
    const auto nulEveryOtherByte = [start](size_t first) {
        bool textBeside = false;
        for (size_t i = 0; i < start.size(); i += 2) {
            if (start[i + first] != '\0') return false;
            textBeside = textBeside || start[i + 1 - first] != '\0';
        }
        return textBeside;
    };
    return nulEveryOtherByte(1) || nulEveryOtherByte(0);  // little endian, big endian
}

inline bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// A setting's whole decimal number ("-1", "15"), nothing else.
inline std::optional<int> wholeNumber(std::string_view text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace ovelsk
