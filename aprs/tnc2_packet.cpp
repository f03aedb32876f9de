#include "aprs/tnc2_packet.h"

namespace ovelsk::aprs {
namespace {

constexpr std::size_t kMaxCallLength = 9;

bool isWordCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}

bool isWord(std::string_view text, std::size_t maxLength) {
    if (text.empty() || text.size() > maxLength) return false;
    for (const char c : text) {
        if (!isWordCharacter(c)) return false;
    }
    return true;
}

std::string_view withoutRepeatedMark(std::string_view element) {
    if (element.ends_with('*')) element.remove_suffix(1);
    return element;
}

// Calls `each` for every element of a comma-separated path; stops and returns
// false as soon as `each` does.
template <typename Each>
bool forEachElement(std::string_view path, Each each) {
    while (!path.empty()) {
        const auto comma = path.find(',');
        if (!each(path.substr(0, comma))) return false;
        if (comma == std::string_view::npos) break;
        path.remove_prefix(comma + 1);
        if (path.empty()) return each(path);  // a trailing comma is an empty element
    }
    return true;
}

}  // namespace

std::optional<Tnc2Packet> splitTnc2(std::string_view text) {
    const auto colon = text.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const auto header = text.substr(0, colon);
    const auto arrow = header.find('>');
    if (arrow == std::string_view::npos) return std::nullopt;
    Tnc2Packet packet;
    packet.source = header.substr(0, arrow);
    const auto route = header.substr(arrow + 1);
    const auto comma = route.find(',');
    packet.destination = route.substr(0, comma);
    packet.path = comma == std::string_view::npos ? std::string_view{} : route.substr(comma + 1);
    packet.information = text.substr(colon + 1);
    if (!isWord(packet.source, kMaxCallLength) || !isWord(packet.destination, kMaxCallLength)) return std::nullopt;
    if (comma != std::string_view::npos && packet.path.empty()) return std::nullopt;
    const bool pathValid = forEachElement(packet.path, [](std::string_view element) {
        return isWord(withoutRepeatedMark(element), std::string_view::npos);
    });
    if (!pathValid) return std::nullopt;
    return packet;
}

bool pathHasElement(std::string_view path, std::string_view word) {
    return !forEachElement(path, [word](std::string_view element) { return withoutRepeatedMark(element) != word; });
}

}  // namespace ovelsk::aprs
