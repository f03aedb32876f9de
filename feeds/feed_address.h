#pragma once
// Where a network feed connects: "HOST:PORT", or "HOST" for the feed's usual
// port. An IPv6 address goes in brackets: "[::1]:8001".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ovelsk::aprs {

struct FeedAddress {
    std::string host;
    std::uint16_t port = 0;

    std::string text() const;
};

// Nothing when the host is empty or the port is not a number from 1 to 65535.
std::optional<FeedAddress> parseFeedAddress(std::string_view text, std::uint16_t defaultPort);

}  // namespace ovelsk::aprs
