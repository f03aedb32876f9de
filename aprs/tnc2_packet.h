#pragma once
// The parts of a packet in TNC2 text, the form APRS-IS servers and TNC monitors
// write it in:
//   K0ABC-9>APRS,TCPIP*,qAC,T2TEST:!4903.50N/07201.75W-
//   source  destination, path     information

#include <optional>
#include <string_view>

namespace ovelsk::aprs {

struct Tnc2Packet {
    std::string_view source;
    std::string_view destination;
    std::string_view path;  // the elements after the destination, comma-separated; empty for none
    std::string_view information;
};

// Splits at the first ":" (the information may hold any byte, colons included).
// Nothing unless the source and destination are 1 to 9 letters, digits and "-",
// and every path element is such a word of any length (server names, q-constructs),
// optionally marked "*" as repeated.
std::optional<Tnc2Packet> splitTnc2(std::string_view text);

// The first element of `path`, its trailing "*" taken off, for which `wanted`
// holds. Empty elements (",," or a trailing ",") are elements too.
template <typename Wanted>
std::optional<std::string_view> firstPathElement(std::string_view path, Wanted wanted) {
    if (path.empty()) return std::nullopt;
    for (;;) {
        const auto comma = path.find(',');
        auto element = path.substr(0, comma);
        if (element.ends_with('*')) element.remove_suffix(1);
        if (wanted(element)) return element;
        if (comma == std::string_view::npos) return std::nullopt;
        path.remove_prefix(comma + 1);
    }
}

// Whether `path` has `word` as an element, a trailing "*" ignored.
bool pathHasElement(std::string_view path, std::string_view word);

}  // namespace ovelsk::aprs
