#include "aprs/ax25_frame.h"

#include <cstddef>
#include <cstdint>

namespace ovelsk::aprs {

namespace {

constexpr std::size_t kAddressBytes = 7;
constexpr std::size_t kMaxAddresses = 2 + kMaxDigipeaters;
constexpr std::uint8_t kUiControl = 0x03;
constexpr std::uint8_t kPollFinalBit = 0x10;
constexpr std::uint8_t kNoLayer3Pid = 0xF0;
constexpr std::uint8_t kLastAddressBit = 0x01;
constexpr std::uint8_t kRepeatedBit = 0x80;

std::uint8_t byteAt(std::string_view bytes, std::size_t index) {
    return static_cast<std::uint8_t>(bytes[index]);
}

bool isCallsignCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// Appends "CALL" or "CALL-SSID"; false when the address is not a callsign:
// letters and digits, padded on the right with blanks.
bool appendAddress(std::string& out, std::string_view address) {
    const std::size_t start = out.size();
    bool padding = false;
    for (std::size_t i = 0; i < 6; ++i) {
        const std::uint8_t shifted = byteAt(address, i);
        if (shifted & kLastAddressBit) {
            return false;
        }
        const char c = static_cast<char>(shifted >> 1);
        if (c == ' ') {
            padding = true;
        } else if (padding || !isCallsignCharacter(c)) {
            return false;
        } else {
            out.push_back(c);
        }
    }
    if (out.size() == start) {
        return false;
    }
    const int ssid = (byteAt(address, 6) >> 1) & 0x0F;
    if (ssid != 0) {
        out.push_back('-');
        out.append(std::to_string(ssid));
    }
    return true;
}

}  // namespace

std::optional<std::string> ax25UiFrameToTnc2(std::string_view frame) {
    std::size_t addresses = 0;
    while (true) {
        const std::size_t end = (addresses + 1) * kAddressBytes;
        if (addresses == kMaxAddresses || end > frame.size()) {
            return std::nullopt;
        }
        ++addresses;
        if (byteAt(frame, end - 1) & kLastAddressBit) {
            break;
        }
    }
    if (addresses < 2) {
        return std::nullopt;
    }
    const std::size_t headerEnd = addresses * kAddressBytes;
    if (frame.size() < headerEnd + 2) {
        return std::nullopt;
    }
    const std::uint8_t control = byteAt(frame, headerEnd);
    if ((control & ~kPollFinalBit) != kUiControl || byteAt(frame, headerEnd + 1) != kNoLayer3Pid) {
        return std::nullopt;
    }

    const auto address = [&](std::size_t index) { return frame.substr(index * kAddressBytes, kAddressBytes); };
    std::size_t lastRepeated = 0;  // index of the last digipeater that has repeated it; 0 for none
    for (std::size_t i = 2; i < addresses; ++i) {
        if (byteAt(address(i), 6) & kRepeatedBit) {
            lastRepeated = i;
        }
    }

    const std::string_view information = frame.substr(headerEnd + 2);
    std::string text;
    text.reserve(addresses * 10 + information.size() + 2);
    if (!appendAddress(text, address(1))) {
        return std::nullopt;
    }
    text.push_back('>');
    if (!appendAddress(text, address(0))) {
        return std::nullopt;
    }
    for (std::size_t i = 2; i < addresses; ++i) {
        text.push_back(',');
        if (!appendAddress(text, address(i))) {
            return std::nullopt;
        }
        if (i == lastRepeated) {
            text.push_back('*');
        }
    }
    text.push_back(':');
    text.append(information);
    return text;
}

}  // namespace ovelsk::aprs
