#pragma once
// One line of the ovelsk-decode report for one packet line, tab-separated:
//   OK<TAB>N0CALL-9<TAB>APRS,WIDE1-1<TAB>49.058333<TAB>-72.029167
//   DROP<TAB>no position

#include <string>
#include <string_view>

namespace ovelsk::aprs {

// packetLine may still carry the carriage return of a CRLF line; it is not part
// of the packet. The result has no line ending.
std::string decodeReportLine(std::string_view packetLine);

}  // namespace ovelsk::aprs
