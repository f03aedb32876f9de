#include "feeds/feed_address.h"

#include <charconv>

namespace ovelsk::aprs {

namespace {

std::optional<std::uint16_t> parsePort(std::string_view text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value == 0 || value > 65535) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

}  // namespace

std::string FeedAddress::text() const {
    const bool ipv6 = host.find(':') != std::string::npos;
    return (ipv6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

std::optional<FeedAddress> parseFeedAddress(std::string_view text, std::uint16_t defaultPort) {
    std::string_view host = text;
    std::string_view port;
    if (text.starts_with('[')) {
        const auto close = text.find(']');
        if (close == std::string_view::npos) {
            return std::nullopt;
        }
        host = text.substr(1, close - 1);
        const std::string_view after = text.substr(close + 1);
        if (!after.empty()) {
            if (!after.starts_with(':')) {
                return std::nullopt;
            }
            port = after.substr(1);
            if (port.empty()) {
                return std::nullopt;
            }
        }
    } else if (const auto colon = text.find(':'); colon != std::string_view::npos) {
        host = text.substr(0, colon);
        port = text.substr(colon + 1);
        if (port.empty()) {
            return std::nullopt;
        }
    }
    if (host.empty() || host.find_first_of(" \t") != std::string_view::npos) {
        return std::nullopt;
    }
    std::uint16_t portNumber = defaultPort;
    if (!port.empty()) {
        const auto parsed = parsePort(port);
        if (!parsed) {
            return std::nullopt;
        }
        portNumber = *parsed;
    }
    return FeedAddress{std::string(host), portNumber};
}

}  // namespace ovelsk::aprs
