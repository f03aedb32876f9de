#include "aprs/decode_report.h"

#include "aprs/packet_decoder.h"

#include <charconv>

namespace ovelsk::aprs {

std::string decodeReportLine(std::string_view packetLine)
{
    if (!packetLine.empty() && packetLine.back() == '\r') {
        packetLine.remove_suffix(1);
    }
    const DecodeResult result = decodePacket(packetLine);
    if (!result.packet) {
        return "DROP\t" + std::string(dropReasonLabel(result.dropReason));
    }
    // to_chars gives what "%.6f" does, exactly rounded, at a fraction of printf's cost.
    std::string line = "OK\t" + result.packet->callsign + "\t" + result.packet->path;
    for (const double degrees : {result.packet->position.latitude, result.packet->position.longitude}) {
        char text[32];
        const auto end = std::to_chars(text, text + sizeof text, degrees, std::chars_format::fixed, 6).ptr;
        line.push_back('\t');
        line.append(text, end);
    }
    return line;
}

}  // namespace ovelsk::aprs
