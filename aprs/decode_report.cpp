#include "aprs/decode_report.h"

#include "aprs/packet_decoder.h"

#include <cstdio>

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
    char coordinates[64];
    std::snprintf(coordinates, sizeof coordinates, "\t%.6f\t%.6f", result.packet->position.latitude,
                  result.packet->position.longitude);
    return "OK\t" + result.packet->callsign + "\t" + result.packet->path + coordinates;
}

}  // namespace ovelsk::aprs
