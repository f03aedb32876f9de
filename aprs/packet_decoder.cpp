#include "aprs/packet_decoder.h"

#include "aprs/compressed_position.h"
#include "aprs/mic_e_position.h"
#include "aprs/nmea_position.h"
#include "aprs/position_outcome.h"
#include "aprs/uncompressed_position.h"

namespace ovelsk::aprs {
namespace {

constexpr std::size_t kTimestampLength = 7;  // 092345z, 092345/ or 234517h

// The parts of "SRC>DEST,DIGI1,DIGI2*:information".
struct Frame {
    std::string_view source;
    std::string_view path;  // destination, then the digipeaters
    std::string_view destination;
    std::string_view information;
};

bool isCallsignChar(char c)
{
    return isDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-';
}

// Path elements are callsign-like ("WIDE2-1", "qAR", "TCPIP"), the ones that
// repeated the packet marked with a trailing "*". Anything else (blanks, control
// bytes, brackets) is refused so that the path can be shown as it stands.
bool isValidPath(std::string_view path)
{
    std::size_t elementLength = 0;
    bool starred = false;
    for (const char c : path) {
        if (c == ',') {
            if (elementLength == 0) {
                return false;
            }
            elementLength = 0;
            starred = false;
        } else if (c == '*' && elementLength > 0 && !starred) {
            starred = true;
        } else if (isCallsignChar(c) && !starred) {
            ++elementLength;
        } else {
            return false;
        }
    }
    return elementLength > 0;
}

std::string_view splitFrame(std::string_view tnc2, Frame& frame)
{
    const std::size_t colon = tnc2.find(':');
    if (colon == std::string_view::npos) {
        return "malformed header";
    }
    const std::string_view header = tnc2.substr(0, colon);
    const std::size_t arrow = header.find('>');
    if (arrow == std::string_view::npos) {
        return "malformed header";
    }
    frame.source = header.substr(0, arrow);
    frame.path = header.substr(arrow + 1);
    frame.destination = frame.path.substr(0, frame.path.find(','));
    frame.information = tnc2.substr(colon + 1);
    if (!isValidPath(frame.path)) {
        return "malformed header";
    }
    if (!isValidSourceCallsign(frame.source)) {
        return "bad callsign";
    }
    return {};
}

// q-constructs ("qAR", "qAC", ...) and TCPIP/TCPXX start the part of a path
// added on the Internet; only stars before them mean a radio digipeater.
bool startsInternetPart(std::string_view element)
{
    if (!element.empty() && element.back() == '*') {
        element.remove_suffix(1);
    }
    return (element.size() == 3 && element[0] == 'q') || element == "TCPIP" || element == "TCPXX";
}

bool heardViaDigipeater(std::string_view path)
{
    std::size_t start = path.find(',');
    while (start != std::string_view::npos) {
        const std::size_t end = path.find(',', start + 1);
        const std::string_view element = path.substr(start + 1, end == std::string_view::npos ? end : end - start - 1);
        if (startsInternetPart(element)) {
            return false;
        }
        if (element.back() == '*') {
            return true;
        }
        start = end;
    }
    return false;
}

PositionOutcome decodePositionBody(std::string_view body)
{
    if (!body.empty() && isDigit(body.front())) {
        return decodeUncompressedPosition(body);
    }
    if (startsCompressedPosition(body)) {
        return decodeCompressedPosition(body);
    }
    return PositionOutcome::failed(kBadPosition);
}

PositionOutcome decodeInformation(const Frame& frame)
{
    const std::string_view info = frame.information;
    if (info.empty()) {
        return PositionOutcome::failed("no position");
    }
    const char dataType = info.front();
    switch (dataType) {
    case '!':
    case '=':
        return decodePositionBody(info.substr(1));
    case '/':
    case '@':
        // The time of the fix does not matter here, and a garbled one does not
        // spoil the position after it, so it is skipped unread.
        if (info.size() < 1 + kTimestampLength) {
            return PositionOutcome::failed(kBadPosition);
        }
        return decodePositionBody(info.substr(1 + kTimestampLength));
    case '$':
        return decodeNmeaPosition(info);
    case ';':
        return PositionOutcome::failed("object");
    case ')':
        return PositionOutcome::failed("item");
    case ':':
        return PositionOutcome::failed("message");
    case '>':
        return PositionOutcome::failed("status");
    case 'T':
        return PositionOutcome::failed("telemetry");
    default:
        if (isMicEType(dataType)) {
            return decodeMicEPosition(frame.destination, info);
        }
        return PositionOutcome::failed("no position");
    }
}

DecodeResult dropped(std::string_view reason) { return DecodeResult{std::nullopt, std::string(reason)}; }

bool isInRange(const Position& position)
{
    return position.latitude >= -90.0 && position.latitude <= 90.0 && position.longitude >= -180.0 &&
           position.longitude <= 180.0;
}

}  // namespace

DecodeResult decodePacket(std::string_view tnc2)
{
    Frame frame;
    if (const std::string_view failure = splitFrame(tnc2, frame); !failure.empty()) {
        return dropped(failure);
    }
    // A third-party frame carries another station's packet: "}" and a whole TNC2
    // packet, e.g. N1GATE>APRS,WIDE2-1:}N0CALL>APRS,TCPIP,N1GATE*:!4903.50N/...
    // Only one level is unwrapped; a frame nested deeper is dropped.
    const bool thirdParty = !frame.information.empty() && frame.information.front() == '}';
    if (thirdParty) {
        if (const std::string_view failure = splitFrame(frame.information.substr(1), frame); !failure.empty()) {
            return dropped(failure);
        }
        if (!frame.information.empty() && frame.information.front() == '}') {
            return dropped("nested third-party");
        }
    }
    const PositionOutcome outcome = decodeInformation(frame);
    if (!outcome.position) {
        return dropped(outcome.failure);
    }
    if (!isInRange(*outcome.position)) {
        return dropped("position out of range");
    }
    DecodeResult result;
    result.packet.emplace();
    result.packet->callsign.assign(frame.source);
    result.packet->path.assign(frame.path);
    result.packet->position = *outcome.position;
    result.packet->viaDigipeater = heardViaDigipeater(frame.path);
    result.packet->thirdParty = thirdParty;
    result.packet->ambiguity = outcome.ambiguity;
    return result;
}

}  // namespace ovelsk::aprs
