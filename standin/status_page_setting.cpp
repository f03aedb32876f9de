#include "standin/status_page_setting.h"

#include <QHostAddress>
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

}  // namespace ovelsk::standin
