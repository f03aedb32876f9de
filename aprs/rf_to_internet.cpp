#include "aprs/rf_to_internet.h"

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

}  // namespace

std::string notGatedText(NotGatedToInternet reason, std::string_view word) {
    switch (reason) {
    case NotGatedToInternet::LineBreak: return "holds CR, LF or NUL";
    case NotGatedToInternet::Malformed: return "malformed header";
    case NotGatedToInternet::NeverGatePath: return "path holds " + std::string(word);
    case NotGatedToInternet::FromInternet: return "came from the Internet (" + std::string(word) + " in its path)";
    case NotGatedToInternet::GenericQuery: return "generic query";
    }
    return "unknown";
}

RadioToInternet gateToInternet(std::string_view heard, std::string_view callsign) {
    if (heard.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
        return refused(NotGatedToInternet::LineBreak);
    auto packet = splitTnc2(heard);
    // A third-party frame is judged by the packet inside it, however deep.
    for (int depth = 0;; ++depth) {
        if (!packet) return refused(NotGatedToInternet::Malformed);
        if (auto refusal = pathRefusal(packet->path, depth)) return *refusal;
        if (!packet->information.starts_with('}')) break;
        packet = splitTnc2(packet->information.substr(1));
    }
    if (packet->information.starts_with('?')) return refused(NotGatedToInternet::GenericQuery);

    RadioToInternet result;
    result.sent = *packet;
    std::string line;
    line.reserve(heard.size() + callsign.size() + 6);
    line.append(packet->source).append(">").append(packet->destination);
    if (!packet->path.empty()) line.append(",").append(packet->path);
    line.append(",qAR,").append(callsign).append(":").append(packet->information);
    result.line = std::move(line);
    return result;
}

}  // namespace ovelsk::aprs
