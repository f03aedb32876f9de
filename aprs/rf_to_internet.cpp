#include "aprs/rf_to_internet.h"

#include "aprs/callsign.h"

namespace ovelsk::aprs {
namespace {

bool isQConstruct(std::string_view element) {
    return element.size() == 3 && element[0] == 'q' && element[1] == 'A';
}

RadioToInternet refused(NotGatedToInternet reason, std::string_view word = {}) {
    RadioToInternet result;
    result.reason = reason;
    result.word = word;
    return result;
}

// Why the path of a packet `depth` third-party frames deep forbids gating it, if it does.
std::optional<RadioToInternet> pathRefusal(std::string_view path, int depth) {
    const auto word = firstPathElement(path, [](std::string_view element) {
        return element == "NOGATE" || element == "RFONLY" || element == "TCPIP" || element == "TCPXX" ||
               isQConstruct(element);
    });
    if (!word) return std::nullopt;
    // Outside, TCPIP or TCPXX is a path no iGate gates; inside a third-party
    // frame it marks a packet another iGate brought from the Internet.
    const bool neverGate = *word == "NOGATE" || *word == "RFONLY" || (depth == 0 && !isQConstruct(*word));
    return refused(neverGate ? NotGatedToInternet::NeverGatePath : NotGatedToInternet::FromInternet, *word);
}

// A header the server takes as a station's own: TNC2 text alone lets "--" or
// "-" through as a source, which no AX.25 frame can carry.
bool hasStationHeader(const Tnc2Packet& packet) {
    return isValidSourceCallsign(packet.source) && isValidSourceCallsign(packet.destination);
}

}  // namespace

std::string notGatedText(NotGatedToInternet reason, std::string_view word) {
    switch (reason) {
    case NotGatedToInternet::Empty: return "no information before its first CR or LF";
    case NotGatedToInternet::Malformed: return "malformed header";
    case NotGatedToInternet::NeverGatePath: return "path holds " + std::string(word);
    case NotGatedToInternet::FromInternet: return "came from the Internet (" + std::string(word) + " in its path)";
    case NotGatedToInternet::GenericQuery: return "generic query";
    }
    return "unknown";
}

RadioToInternet gateToInternet(std::string_view heard, std::string_view callsign, IgateKind kind) {
    // Many trackers end their text with CR; the server takes one line, the
    // first, and every iGate sends the same bytes of it.
    heard = heard.substr(0, heard.find_first_of("\r\n"));
    auto packet = splitTnc2(heard);
    // A third-party frame is judged by the packet inside it, however deep.
    for (int depth = 0;; ++depth) {
        if (!packet || !hasStationHeader(*packet)) return refused(NotGatedToInternet::Malformed);
        if (auto refusal = pathRefusal(packet->path, depth)) return *refusal;
        if (!packet->information.starts_with('}')) break;
        packet = splitTnc2(packet->information.substr(1));
    }
    // A header alone tells the server nothing.
    if (packet->information.empty()) return refused(NotGatedToInternet::Empty);
    if (packet->information.starts_with('?')) return refused(NotGatedToInternet::GenericQuery);

    const std::string_view qConstruct = kind == IgateKind::TwoWay ? ",qAR," : ",qAO,";
    RadioToInternet result;
    std::string line;
    line.reserve(heard.size() + callsign.size() + 6);
    line.append(packet->source).append(">").append(packet->destination);
    if (!packet->path.empty()) line.append(",").append(packet->path);
    line.append(qConstruct).append(callsign).append(":").append(packet->information);
    result.line = std::move(line);
    return result;
}

}  // namespace ovelsk::aprs
