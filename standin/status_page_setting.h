#pragma once
// Where the status page listens, as the "Status Page" setting says it:
//   off               no page (the default)
//   8080              port 8080 on 127.0.0.1
//   192.168.1.5:8080  that address; 0.0.0.0 for every IPv4 address
//   [::1]:8080        an IPv6 address, in brackets
// Only numeric addresses: the page is bound where the user says, never where a
// name lookup happens to point.
//
// The page answers requests addressed (by their Host header) to an IP address,
// localhost or this machine's name; the "Status Page Names" setting adds DNS
// names, comma-separated:
//   Status Page Names=igate.lan, shack-pi.example.org

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace ovelsk::standin {

struct StatusPageAddress {
    std::string address;  // numeric, without brackets: "127.0.0.1", "::1"
    std::uint16_t port = 0;
    std::vector<std::string> names = {};  // from Status Page Names, lower case

    bool isLoopback() const;
    // "127.0.0.1:8080", "[::1]:8080"
    std::string text() const;
    friend bool operator==(const StatusPageAddress&, const StatusPageAddress&) = default;
};

inline constexpr std::string_view kStatusPageDefaultAddress = "127.0.0.1";

// Off, an address, or nothing for a value the setting does not allow.
struct StatusPageOff {
    friend bool operator==(StatusPageOff, StatusPageOff) = default;
};
using StatusPageSetting = std::variant<StatusPageOff, StatusPageAddress>;
std::optional<StatusPageSetting> parseStatusPageSetting(std::string_view text);

// The DNS names of Status Page Names (letters, digits and "-" in dot-separated
// labels of at most 63, 253 in all), or nothing for a value with another.
std::optional<std::vector<std::string>> parseStatusPageNames(std::string_view text);

}  // namespace ovelsk::standin
