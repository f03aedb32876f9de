#pragma once
// What an iGate passes from radio to APRS-IS, and the line it sends for it: the
// packet as heard up to its first CR or LF (every other byte kept, NUL and bytes
// from 0x80 up included), its path kept (with its "*") and ",qAR,CALLSIGN"
// added, or ",qAO,CALLSIGN" by an iGate that transmits nothing to radio:
//   heard:  N0CALL-9>APRS,WIDE1-1*,WIDE2-1:!4903.50N/07201.75W-
//   sent:   N0CALL-9>APRS,WIDE1-1*,WIDE2-1,qAR,N0CALL-10:!4903.50N/07201.75W-
// A third-party frame ("}") sends the packet inside it instead, unless that came
// from the Internet in the first place; its header must be as sound as one
// heard on the air:
//   heard:  N1GATE>APRS,WIDE2-1:}W1ABC>APRS,WIDE1-1*:>status
//   sent:   W1ABC>APRS,WIDE1-1*,qAR,N0CALL-10:>status
// Never sent: a packet with no information before its first CR or LF; one whose
// path has TCPIP, TCPXX, NOGATE, RFONLY or a q construct (qAR, qAC, ...: it has
// been through APRS-IS already); a generic query ("?" information).

#include <optional>
#include <string>
#include <string_view>

#include "aprs/tnc2_packet.h"

namespace ovelsk::aprs {

enum class NotGatedToInternet {
    Empty,           // no information before the first CR or LF
    Malformed,       // no valid header (outside or inside a third-party frame)
    NeverGatePath,   // TCPIP, TCPXX, NOGATE or RFONLY in the path
    FromInternet,    // a q construct in the path
    GenericQuery,    // information starts with "?"
};

// "path holds NOGATE"-style text for the log; `word` is the path element that decided it.
std::string notGatedText(NotGatedToInternet reason, std::string_view word = {});

// How the iGate that sends the line serves radio, which the q construct tells the server.
enum class IgateKind {
    TwoWay,       // it also transmits Internet traffic to radio: qAR
    ReceiveOnly,  // it transmits nothing: qAO
};

struct RadioToInternet {
    std::optional<std::string> line;       // the line for the server, when the packet is to be sent
    NotGatedToInternet reason{};           // otherwise why not
    std::string_view word;                 // the path element behind NeverGatePath or FromInternet
};

// The decision for one packet heard on radio, in TNC2 text, by the iGate `callsign`.
RadioToInternet gateToInternet(std::string_view heard, std::string_view callsign, IgateKind kind);

}  // namespace ovelsk::aprs
