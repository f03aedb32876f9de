// ovelsk-decode: reads TNC2 packets from standard input, one a line (LF or CRLF),
// and prints for each, tab-separated, what the host would make of it:
//   OK    callsign  path  latitude  longitude      (6 decimals, north and east positive)
//   DROP  reason
// It runs the decoder the host itself uses.

#include "aprs/decode_report.h"

#include <cstdio>
#include <string>

int main()
{
    // Lines are read as raw bytes: a packet may hold any byte but a line feed,
    // NUL included, so a line is gathered with getc rather than as a C string.
    std::string line;
    for (int c = std::getc(stdin); c != EOF;) {
        line.clear();
        for (; c != EOF && c != '\n'; c = std::getc(stdin)) {
            line.push_back(static_cast<char>(c));
        }
        std::puts(ovelsk::aprs::decodeReportLine(line).c_str());
        if (c == '\n') {
            c = std::getc(stdin);
        }
    }
    return 0;
}
