#pragma once
// Builds AX.25 UI frames and their KISS encoding the way a TNC sends them.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ovelsk::testing {

struct Ax25Station {
    std::string callsign;
    int ssid = 0;
    bool repeated = false;  // has-been-repeated bit, for digipeaters
};

inline std::string ax25Address(const Ax25Station& station, bool last) {
    std::string address;
    for (std::size_t i = 0; i < 6; ++i) {
        const char c = i < station.callsign.size() ? station.callsign[i] : ' ';
        address.push_back(static_cast<char>(c << 1));
    }
    std::uint8_t ssidByte = 0x60 | static_cast<std::uint8_t>(station.ssid << 1);
    if (station.repeated) {
        ssidByte |= 0x80;
    }
    if (last) {
        ssidByte |= 0x01;
    }
    address.push_back(static_cast<char>(ssidByte));
    return address;
}

inline std::string ax25Frame(const Ax25Station& source, const Ax25Station& destination,
                             const std::vector<Ax25Station>& digipeaters, std::string_view information,
                             std::uint8_t control = 0x03, std::uint8_t pid = 0xF0) {
    std::string frame = ax25Address(destination, false) + ax25Address(source, digipeaters.empty());
    for (std::size_t i = 0; i < digipeaters.size(); ++i) {
        frame += ax25Address(digipeaters[i], i + 1 == digipeaters.size());
    }
    frame.push_back(static_cast<char>(control));
    frame.push_back(static_cast<char>(pid));
    frame.append(information);
    return frame;
}

inline std::string kissEncode(std::string_view payload, int port = 0, int type = 0) {
    std::string out(1, '\xC0');
    out.push_back(static_cast<char>((port << 4) | type));
    for (const char byte : payload) {
        if (byte == '\xC0') {
            out += "\xDB\xDC";
        } else if (byte == '\xDB') {
            out += "\xDB\xDD";
        } else {
            out.push_back(byte);
        }
    }
    out.push_back('\xC0');
    return out;
}

}  // namespace ovelsk::testing
