#include "aprs/ax25_frame.h"

#include <cstddef>
#include <cstdint>

#include "aprs/callsign.h"
#include "aprs/tnc2_packet.h"

namespace ovelsk::aprs {

namespace {

constexpr std::size_t kAddressBytes = 7;
constexpr std::size_t kMaxAddresses = 2 + kMaxDigipeaters;
constexpr std::uint8_t kUiControl = 0x03;
constexpr std::uint8_t kPollFinalBit = 0x10;
constexpr std::uint8_t kNoLayer3Pid = 0xF0;
constexpr std::uint8_t kLastAddressBit = 0x01;
constexpr std::uint8_t kRepeatedBit = 0x80;
constexpr std::uint8_t kCommandBit = 0x80;   // the same bit, on the destination
constexpr std::uint8_t kReservedBits = 0x60;
constexpr std::size_t kCallsignBytes = 6;
constexpr int kMaxSsid = 15;

std::uint8_t byteAt(std::string_view bytes, std::size_t index) {
    return static_cast<std::uint8_t>(bytes[index]);
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
        } else if (padding || !isLetterOrDigit(c)) {
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

struct Ax25Address {
    std::string_view callsign;
    int ssid = 0;
};

std::optional<Ax25Address> parseAx25Address(std::string_view text) {
    const auto dash = text.find('-');
    Ax25Address address{text.substr(0, dash), 0};
    if (address.callsign.empty() || address.callsign.size() > kCallsignBytes) {
        return std::nullopt;
    }
    for (const char c : address.callsign) {
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) {
            return std::nullopt;
        }
    }
    if (dash == std::string_view::npos) {
        return address;
    }
    const std::string_view ssid = text.substr(dash + 1);
    if (ssid.empty() || ssid.size() > 2 || (ssid.size() == 2 && ssid.front() == '0')) {
        return std::nullopt;
    }
    for (const char c : ssid) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        address.ssid = address.ssid * 10 + (c - '0');
    }
    if (address.ssid > kMaxSsid) {
        return std::nullopt;
    }
    return address;
}

void appendEncodedAddress(std::string& out, const Ax25Address& address, std::uint8_t flags) {
    for (std::size_t i = 0; i < kCallsignBytes; ++i) {
        const char c = i < address.callsign.size() ? address.callsign[i] : ' ';
        out.push_back(static_cast<char>(static_cast<std::uint8_t>(c) << 1));
    }
    out.push_back(static_cast<char>(kReservedBits | (address.ssid << 1) | flags));
}

}  // namespace

bool isAx25Address(std::string_view address) { return parseAx25Address(address).has_value(); }

std::optional<std::string> tnc2ToAx25UiFrame(std::string_view tnc2) {
    const auto packet = splitTnc2(tnc2);
    if (!packet || packet->information.size() > kMaxInformationBytes) {
        return std::nullopt;
    }
    const auto destination = parseAx25Address(packet->destination);
    const auto source = parseAx25Address(packet->source);
    if (!destination || !source) {
        return std::nullopt;
    }
    Ax25Address digipeaters[kMaxDigipeaters];
    int count = 0;
    std::size_t lastMarked = 0;  // one past the last digipeater marked "*"; 0 for none
    for (std::string_view path = packet->path; !path.empty();) {
        const auto comma = path.find(',');
        std::string_view element = path.substr(0, comma);
        path = comma == std::string_view::npos ? std::string_view{} : path.substr(comma + 1);
        const bool marked = element.ends_with('*');
        if (marked) {
            element.remove_suffix(1);
        }
        const auto address = parseAx25Address(element);
        if (!address || count == kMaxDigipeaters) {
            return std::nullopt;
        }
        digipeaters[count++] = *address;
        if (marked) {
            lastMarked = static_cast<std::size_t>(count);
        }
    }

    std::string frame;
    frame.reserve((2 + static_cast<std::size_t>(count)) * kAddressBytes + 2 + packet->information.size());
    appendEncodedAddress(frame, *destination, kCommandBit);
    appendEncodedAddress(frame, *source, count == 0 ? kLastAddressBit : 0);
    for (int i = 0; i < count; ++i) {
        std::uint8_t flags = static_cast<std::size_t>(i) < lastMarked ? kRepeatedBit : 0;
        if (i + 1 == count) {
            flags |= kLastAddressBit;
        }
        appendEncodedAddress(frame, digipeaters[i], flags);
    }
    frame.push_back(static_cast<char>(kUiControl));
    frame.push_back(static_cast<char>(kNoLayer3Pid));
    frame.append(packet->information);
    return frame;
}

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
