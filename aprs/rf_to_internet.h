#pragma once
// What an iGate passes from radio to APRS-IS, and the line it sends for it: the
// packet as heard, its path kept (with its "*") and ",qAR,CALLSIGN" added:
//   heard:  N0CALL-9>APRS,WIDE1-1*,WIDE2-1:!4903.50N/07201.75W-
//   sent:   N0CALL-9>APRS,WIDE1-1*,WIDE2-1,qAR,N0CALL-10:!4903.50N/07201.75W-
// A third-party frame ("}") sends the packet inside it instead, unless that came
// from the Internet in the first place:
//   heard:  N1GATE>APRS,WIDE2-1:}W1ABC>APRS,WIDE1-1*:>status
//   sent:   W1ABC>APRS,WIDE1-1*,qAR,N0CALL-10:>status
// Never sent: a packet holding CR, LF or NUL; one whose path has TCPIP, TCPXX,
// NOGATE, RFONLY or a q construct (qAR, qAC, ...: it has been through APRS-IS
// already); a generic query ("?" information).

#include <optional>
#include <string>
#include <string_view>

#include "aprs/tnc2_packet.h"

namespace ovelsk::aprs {

enum class NotGatedToInternet {
    LineBreak,       // CR, LF or NUL in the packet
    Malformed,       // no valid TNC2 header (outside or inside a third-party frame)
    NeverGatePath,   // TCPIP, TCPXX, NOGATE or RFONLY in the path
    FromInternet,    // a q construct in the path
    GenericQuery,    // information starts with "?"
};

// "path holds NOGATE"-style text for the log; `word` is the path element that decided it.
std::string notGatedText(NotGatedToInternet reason, std::string_view word = {});

struct RadioToInternet {
    std::optional<std::string> line;       // the line for the server, when the packet is to be sent
    NotGatedToInternet reason{};           // otherwise why not
    std::string_view word;                 // the path element behind NeverGatePath or FromInternet
    Tnc2Packet sent;                       // the packet sent (the inner one of a third-party frame)
};

// The decision for one packet heard on radio, in TNC2 text, by the iGate `callsign`.
RadioToInternet gateToInternet(std::string_view heard, std::string_view callsign);

}  // namespace ovelsk::aprs
