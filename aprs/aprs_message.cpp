#include "aprs/aprs_message.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "aprs/tnc2_packet.h"

namespace ovelsk::aprs {
namespace {

constexpr std::size_t kAddresseeWidth = 9;

// WIDEn-N, TRACEn-N and the old RELAY: names any digipeater answers to, which a
// digipeater that does not put its own callsign in the path leaves marked "*".
bool isGenericAlias(std::string_view element) {
    return element.starts_with("WIDE") || element.starts_with("TRACE") || element == "RELAY";
}

int hopsAskedBy(std::string_view address) {
    const auto dash = address.find('-');
    if (dash == std::string_view::npos || dash < 2) return 1;
    const auto name = address.substr(0, dash - 1);
    const char n = address[dash - 1];
    if (!std::all_of(name.begin(), name.end(), [](char c) { return c >= 'A' && c <= 'Z'; }) || n < '1' || n > '7')
        return 1;
    int hops = 1;
    const auto ssid = address.substr(dash + 1);
    const auto [end, error] = std::from_chars(ssid.data(), ssid.data() + ssid.size(), hops);
    return error == std::errc{} && end == ssid.data() + ssid.size() ? hops : 1;
}

}  // namespace

std::optional<AprsMessage> parseAprsMessage(std::string_view information) {
    if (information.size() < kAddresseeWidth + 2 || information[0] != ':' || information[kAddresseeWidth + 1] != ':')
        return std::nullopt;
    auto addressee = information.substr(1, kAddresseeWidth);
    while (!addressee.empty() && addressee.back() == ' ') addressee.remove_suffix(1);
    if (addressee.empty()) return std::nullopt;
    return AprsMessage{addressee, information.substr(kAddresseeWidth + 2)};
}

std::string aprsMessageInformation(std::string_view addressee, std::string_view text) {
    std::string information = ":" + std::string(addressee);
    information.resize(kAddresseeWidth + 1, ' ');
    return information.append(":").append(text);
}

NumberedText splitMessageNumber(std::string_view text) {
    const auto brace = text.rfind('{');
    if (brace == std::string_view::npos) return {text, {}};
    return {text.substr(0, brace), text.substr(brace + 1)};
}

bool isBroadcastAddressee(std::string_view addressee) {
    constexpr std::array<std::string_view, 5> kPrefixes = {"BLN", "NWS", "SKY", "CWA", "BOM"};
    for (const auto prefix : kPrefixes) {
        if (addressee.starts_with(prefix)) return true;
    }
    return false;
}

bool isPositionReport(std::string_view information) {
    // "!" "=" "/" "@" plain and compressed, "`" "'" Mic-E, "$" raw GPS.
    return !information.empty() && std::string_view("!=/@`'$").find(information[0]) != std::string_view::npos;
}

int digipeaterHopsAsked(std::string_view path) {
    int hops = 0;
    if (path.empty()) return 0;
    firstPathElement(path, [&](std::string_view address) {
        hops += hopsAskedBy(address);
        return false;
    });
    return hops;
}

int digipeaterHopsUsed(std::string_view path) {
    const auto lastUsed = path.rfind('*');
    if (lastUsed == std::string_view::npos) return 0;
    int hops = 0;
    bool afterCallsign = false;
    firstPathElement(path.substr(0, lastUsed + 1), [&](std::string_view element) {
        const bool alias = isGenericAlias(element);
        if (!alias || !afterCallsign) ++hops;
        afterCallsign = !alias;
        return false;
    });
    return hops;
}

}  // namespace ovelsk::aprs
