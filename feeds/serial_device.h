#pragma once
// Where a serial feed reads: "DEVICE" or "DEVICE:BAUD", such as
// "/dev/ttyUSB0:19200". The part after the last colon is the speed when it is a
// number, so a device path with colons in it (/dev/serial/by-path/...-usb-0:1.3:1.0)
// is taken whole.

#include <optional>
#include <string>
#include <string_view>

namespace ovelsk::aprs {

inline constexpr int kSerialDefaultBaud = 9600;
inline constexpr int kSerialMinBaud = 300;
inline constexpr int kSerialMaxBaud = 4000000;

struct SerialDevice {
    std::string path;
    int baud = kSerialDefaultBaud;

    std::string text() const;  // "/dev/ttyUSB0:9600"
};

// Nothing when the path is empty or the speed is not a whole number from
// kSerialMinBaud to kSerialMaxBaud.
std::optional<SerialDevice> parseSerialDevice(std::string_view text);

}  // namespace ovelsk::aprs
