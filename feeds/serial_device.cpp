#include "feeds/serial_device.h"

#include <charconv>

namespace ovelsk::aprs {

std::string SerialDevice::text() const { return path + ":" + std::to_string(baud); }

std::optional<SerialDevice> parseSerialDevice(std::string_view text) {
    SerialDevice device{std::string(text), kSerialDefaultBaud};
    if (const auto colon = text.rfind(':'); colon != std::string_view::npos) {
        const std::string_view speed = text.substr(colon + 1);
        const bool number = !speed.empty() && speed.find_first_not_of("0123456789") == std::string_view::npos;
        if (speed.empty() || number) {
            int baud = 0;
            const auto [end, ec] = std::from_chars(speed.data(), speed.data() + speed.size(), baud);
            if (!number || ec != std::errc{} || baud < kSerialMinBaud || baud > kSerialMaxBaud) return std::nullopt;
            device = {std::string(text.substr(0, colon)), baud};
        }
    }
    if (device.path.empty()) return std::nullopt;
    return device;
}

}  // namespace ovelsk::aprs
