// ovelsk-decode: reads TNC2 packets from standard input, one a line (LF or CRLF),
// and prints for each, tab-separated, what the host would make of it:
//   OK    callsign  path  latitude  longitude      (6 decimals, north and east positive)
//   DROP  reason
// It runs the decoder the host itself uses.

#include "aprs/packet_decoder.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace {

void printResult(const ovelsk::aprs::DecodeResult& result)
{
    if (!result.packet) {
        std::printf("DROP\t%s\n", result.dropReason.c_str());
        return;
    }
    const ovelsk::aprs::DecodedPacket& packet = *result.packet;
    std::printf("OK\t%s\t%s\t%.6f\t%.6f\n", packet.callsign.c_str(), packet.path.c_str(), packet.position.latitude,
                packet.position.longitude);
}

}  // namespace

int main()
{
    // Lines are read as raw bytes: a packet may hold any byte except a line feed,
    // NUL included, so the line is taken with getc rather than as a C string.
    std::string line;
    int c = 0;
    while (true) {
        line.clear();
        while ((c = std::getc(stdin)) != EOF && c != '\n') {
            line.push_back(static_cast<char>(c));
        }
        if (c == EOF && line.empty()) {
            break;
        }
        std::string_view packet = line;
        if (!packet.empty() && packet.back() == '\r') {
            packet.remove_suffix(1);
        }
        printResult(ovelsk::aprs::decodePacket(packet));
        if (c == EOF) {
            break;
        }
    }
    return 0;
}
