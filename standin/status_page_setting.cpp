#include "standin/status_page_setting.h"

#include <QHostAddress>
#include <algorithm>
#include <cctype>
#include <charconv>

#include "host/settings_text.h"

namespace ovelsk::standin {
namespace {

std::optional<std::uint16_t> port(std::string_view text) {
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc{} || end != text.data() + text.size() || value == 0 || value > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

// The address as QHostAddress reads it, when it is a plain IPv4 or IPv6 address.
std::optional<std::string> numericAddress(std::string_view text, bool ipv6) {
    QHostAddress address;
    if (text.empty() || !address.setAddress(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))))
        return std::nullopt;
    const bool isIpv6 = address.protocol() == QAbstractSocket::IPv6Protocol;
    if (isIpv6 != ipv6 || !address.scopeId().isEmpty()) return std::nullopt;
    return address.toString().toStdString();
}

bool isDnsLabel(std::string_view label) {
    return !label.empty() && label.size() <= 63 && label.front() != '-' && label.back() != '-' &&
           std::all_of(label.begin(), label.end(), [](unsigned char c) { return std::isalnum(c) || c == '-'; });
}

bool isDnsName(std::string_view name) {
    if (name.empty() || name.size() > 253) return false;
    while (true) {
        const auto dot = name.find('.');
        if (!isDnsLabel(name.substr(0, dot))) return false;
        if (dot == std::string_view::npos) return true;
        name.remove_prefix(dot + 1);
    }
}

}  // namespace

bool StatusPageAddress::isLoopback() const { return QHostAddress(QString::fromStdString(address)).isLoopback(); }

std::string StatusPageAddress::text() const {
    const std::string shown = address.find(':') == std::string::npos ? address : "[" + address + "]";
    return shown + ":" + std::to_string(port);
}

std::optional<StatusPageSetting> parseStatusPageSetting(std::string_view text) {
    text = trimBlanks(text);
    if (text.empty() || equalsIgnoringCase(text, "off")) return StatusPageOff{};
    std::optional<std::string> address = std::string(kStatusPageDefaultAddress);
    std::string_view portText = text;
    if (text.starts_with('[')) {
        const auto close = text.find("]:");
        if (close == std::string_view::npos) return std::nullopt;
        address = numericAddress(text.substr(1, close - 1), true);
        portText = text.substr(close + 2);
    } else if (const auto colon = text.find(':'); colon != std::string_view::npos) {
        address = numericAddress(text.substr(0, colon), false);
        portText = text.substr(colon + 1);
    }
    const auto number = port(portText);
    if (!address || !number) return std::nullopt;
    return StatusPageAddress{*address, *number};
}

std::optional<std::vector<std::string>> parseStatusPageNames(std::string_view text) {
    std::vector<std::string> names;
    if (trimBlanks(text).empty()) return names;
    while (true) {
        const auto comma = text.find(',');
        const std::string_view name = trimBlanks(text.substr(0, comma));
        if (!isDnsName(name)) return std::nullopt;
        std::string lower(name);
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        names.push_back(std::move(lower));
        if (comma == std::string_view::npos) return names;
        text.remove_prefix(comma + 1);
    }
}

}  // namespace ovelsk::standin
