#include "status/host_rule.h"

#include <algorithm>
#include <boost/asio/ip/address.hpp>
#include <cctype>

namespace ovelsk {
namespace {

std::string lowered(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

bool isPort(std::string_view text) {
    return !text.empty() && text.size() <= 5 &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

}  // namespace

HostRule::HostRule(std::string machineName, std::vector<std::string> names) {
    names_.push_back("localhost");
    if (!machineName.empty()) {
        names_.push_back(lowered(machineName));
        names_.push_back(lowered(machineName) + ".local");
    }
    for (const auto& name : names) names_.push_back(lowered(name));
}

bool HostRule::allows(std::string_view host) const {
    boost::system::error_code error;
    if (host.starts_with('[')) {
        const auto close = host.find(']');
        if (close == std::string_view::npos) return false;
        const std::string_view after = host.substr(close + 1);
        if (!after.empty() && !(after.starts_with(':') && isPort(after.substr(1)))) return false;
        boost::asio::ip::make_address_v6(std::string(host.substr(1, close - 1)), error);
        return !error;
    }
    if (const auto colon = host.find(':'); colon != std::string_view::npos) {
        if (!isPort(host.substr(colon + 1))) return false;
        host = host.substr(0, colon);
    }
    boost::asio::ip::make_address_v4(std::string(host), error);
    if (!error) return true;
    if (host.ends_with('.')) host.remove_suffix(1);
    const std::string name = lowered(host);
    return !name.empty() && std::find(names_.begin(), names_.end(), name) != names_.end();
}

}  // namespace ovelsk
