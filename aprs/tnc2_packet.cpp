#include "aprs/tnc2_packet.h"

#include "aprs/callsign.h"

namespace ovelsk::aprs {
namespace {

constexpr std::size_t kMaxCallLength = 9;

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
    if (!isCallsignWord(packet.source, kMaxCallLength) || !isCallsignWord(packet.destination, kMaxCallLength))
        return std::nullopt;
    if (comma != std::string_view::npos && packet.path.empty()) return std::nullopt;
    const auto badElement = firstPathElement(
        packet.path, [](std::string_view element) { return !isCallsignWord(element, std::string_view::npos); });
    if (badElement) return std::nullopt;
    return packet;
}

bool pathHasElement(std::string_view path, std::string_view word) {
    return firstPathElement(path, [word](std::string_view element) { return element == word; }).has_value();
}

}  // namespace ovelsk::aprs
