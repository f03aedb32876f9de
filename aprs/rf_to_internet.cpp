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
    for (std::string_view rest = path; !rest.empty();) {
        const auto comma = rest.find(',');
        std::string_view element = rest.substr(0, comma);
        rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
        if (element.ends_with('*')) element.remove_suffix(1);
        if (element == "NOGATE" || element == "RFONLY") return refused(NotGatedToInternet::NeverGatePath, element);
        // Outside, TCPIP or TCPXX is a path no iGate gates; inside a third-party
        // frame it marks a packet another iGate brought from the Internet.
        if (element == "TCPIP" || element == "TCPXX")
            return refused(depth == 0 ? NotGatedToInternet::NeverGatePath : NotGatedToInternet::FromInternet, element);
        if (isQConstruct(element)) return refused(NotGatedToInternet::FromInternet, element);
    }
    return std::nullopt;
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
