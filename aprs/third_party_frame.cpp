#include "aprs/third_party_frame.h"

namespace ovelsk::aprs {

std::string thirdPartyInformation(std::string_view gateCallsign, const Tnc2Packet& inner) {
    std::string information;
    information.reserve(16 + inner.source.size() + inner.destination.size() + gateCallsign.size() +
                        inner.information.size());
    information += '}';
    information += inner.source;
    information += '>';
    information += inner.destination;
    information += ",TCPIP,";
    information += gateCallsign;
    information += "*:";
    information += inner.information;
    return information;
}

std::string thirdPartyFrameText(std::string_view gateCallsign, std::string_view via, std::string_view information) {
    std::string text(gateCallsign);
    text += '>';
    text += kOvelskDestination;
    if (!via.empty()) {
        text += ',';
        text += via;
    }
    text += ':';
    text += information;
    return text;
}

}  // namespace ovelsk::aprs
