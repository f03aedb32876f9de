// sources: aprs/packet_decoder.cpp aprs/uncompressed_position.cpp aprs/compressed_position.cpp aprs/mic_e_position.cpp aprs/nmea_position.cpp aprs/dao_extension.cpp aprs/position_timestamp.cpp aprs/callsign.cpp
// Feeds arbitrary bytes to the packet decoder and checks what it promises for
// everything it delivers: a valid callsign, a clean path, a position on the globe.

#include "aprs/packet_decoder.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

bool isCleanPath(std::string_view path)
{
    for (const char c : path) {
        if (c == ':' || c == '>' || static_cast<unsigned char>(c) <= ' ' || static_cast<unsigned char>(c) >= 0x7f) {
            return false;
        }
    }
    return !path.empty();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view packet(reinterpret_cast<const char*>(data), size);
    const ovelsk::aprs::DecodeResult result = ovelsk::aprs::decodePacket(packet);
    if (!result.packet) {
        if (ovelsk::aprs::dropReasonIndex(result.dropReason) >= ovelsk::aprs::kDropReasonCount) {
            std::abort();
        }
        return 0;
    }
    const ovelsk::aprs::DecodedPacket& decoded = *result.packet;
    const bool onGlobe = std::fabs(decoded.position.latitude) <= 90.0 && std::fabs(decoded.position.longitude) <= 180.0;
    if (!ovelsk::aprs::isValidSourceCallsign(decoded.callsign) || !isCleanPath(decoded.path) || !onGlobe) {
        std::abort();
    }
    return 0;
}
