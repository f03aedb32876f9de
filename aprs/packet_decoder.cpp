#include "aprs/packet_decoder.h"

#include "aprs/callsign.h"
#include "aprs/compressed_position.h"
#include "aprs/mic_e_position.h"
#include "aprs/nmea_position.h"
#include "aprs/position_outcome.h"
#include "aprs/position_timestamp.h"
#include "aprs/uncompressed_position.h"

namespace ovelsk::aprs {
namespace {

constexpr std::size_t kPositionSearchLength = 40;  // how far into free text a position's "!" may stand
constexpr int kMaxThirdPartyLevels = 4;

// The parts of "SRC>DEST,DIGI1,DIGI2*:information".
struct Frame {
    std::string_view source;
    std::string_view path;  // destination, then the digipeaters
    std::string_view destination;
    std::string_view information;
};

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
        } else if (isCallsignCharacter(c) && !starred) {
            ++elementLength;
        } else {
            return false;
        }
    }
    return elementLength > 0;
}

std::optional<DropReason> splitFrame(std::string_view tnc2, Frame& frame)
{
    const std::size_t colon = tnc2.find(':');
    if (colon == std::string_view::npos) {
        return DropReason::MalformedHeader;
    }
    const std::string_view header = tnc2.substr(0, colon);
    const std::size_t arrow = header.find('>');
    if (arrow == std::string_view::npos) {
        return DropReason::MalformedHeader;
    }
    frame.source = header.substr(0, arrow);
    frame.path = header.substr(arrow + 1);
    frame.destination = frame.path.substr(0, frame.path.find(','));
    frame.information = tnc2.substr(colon + 1);
    if (!isValidPath(frame.path)) {
        return DropReason::MalformedHeader;
    }
    if (!isValidSourceCallsign(frame.source)) {
        return DropReason::BadCallsign;
    }
    return std::nullopt;
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
    return decodeCompressedPosition(body);
}

// A TNC's beacon text may put free text before the position, as in
//   hello world!4903.50N/07201.75W-
// so in a field that no data type identifier claims, the "!" may stand anywhere
// in the first 40 bytes. Only a plain-text position is taken there: free text
// after an exclamation mark can pass for the base-91 bytes of a compressed one.
PositionOutcome findPositionAfterText(std::string_view info)
{
    std::optional<DropReason> firstFailure;
    const std::string_view head = info.substr(0, kPositionSearchLength);
    for (std::size_t at = head.find('!'); at != std::string_view::npos; at = head.find('!', at + 1)) {
        const std::string_view body = info.substr(at + 1);
        if (body.empty() || !isDigit(body.front())) {
            continue;
        }
        const PositionOutcome outcome = decodeUncompressedPosition(body);
        if (outcome.position) {
            return outcome;
        }
        firstFailure = firstFailure.value_or(outcome.failure);
    }
    return PositionOutcome::failed(firstFailure.value_or(DropReason::NoPosition));
}

PositionOutcome decodeInformation(const Frame& frame)
{
    const std::string_view info = frame.information;
    if (info.empty()) {
        return PositionOutcome::failed(DropReason::NoPosition);
    }
    const char dataType = info.front();
    switch (dataType) {
    case '!':
    case '=':
        return decodePositionBody(info.substr(1));
    case '/':
    case '@':
        if (!startsWithTimestamp(info.substr(1))) {
            return PositionOutcome::failed(DropReason::BadTimestamp);
        }
        return decodePositionBody(info.substr(1 + kTimestampLength));
    case '$':
        return decodeNmeaPosition(info);
    case ';':
        return PositionOutcome::failed(DropReason::Object);
    case ')':
        return PositionOutcome::failed(DropReason::Item);
    case ':':
        return PositionOutcome::failed(DropReason::Message);
    case '>':
        return PositionOutcome::failed(DropReason::Status);
    case 'T':
        // Telemetry is "T#"; a lone "T" is the start of free text.
        if (info.size() > 1 && info[1] == '#') {
            return PositionOutcome::failed(DropReason::Telemetry);
        }
        return findPositionAfterText(info);
    // Formats of their own that carry no position of the sender: weather
    // stations, direction finding, capabilities, queries, grid locators,
    // user-defined and test data, and the identifiers kept for future formats.
    case '#':
    case '%':
    case '&':
    case '*':
    case '+':
    case ',':
    case '.':
    case '<':
    case '?':
    case '[':
    case '_':
    case '{':
        return PositionOutcome::failed(DropReason::NoPosition);
    default:
        if (isMicEType(dataType)) {
            return decodeMicEPosition(frame.destination, info);
        }
        return findPositionAfterText(info);
    }
}

DecodeResult dropped(DropReason reason) { return DecodeResult{std::nullopt, reason}; }

bool isInRange(const Position& position)
{
    return position.latitude >= -90.0 && position.latitude <= 90.0 && position.longitude >= -180.0 &&
           position.longitude <= 180.0;
}

}  // namespace

DecodeResult decodePacket(std::string_view tnc2)
{
    Frame frame;
    if (const auto failure = splitFrame(tnc2, frame)) {
        return dropped(*failure);
    }
    // A third-party frame carries another station's packet: "}" and a whole TNC2
    // packet, e.g. N1GATE>APRS,WIDE2-1:}N0CALL>APRS,TCPIP,N1GATE*:!4903.50N/...
    // That packet may itself be a third-party frame. The sender and position are
    // the innermost packet's; the path stays that of the first inner header, the
    // route by which the traffic reached the gateway that sent it on.
    std::string_view path = frame.path;
    int thirdPartyLevels = 0;
    while (!frame.information.empty() && frame.information.front() == '}') {
        if (thirdPartyLevels == kMaxThirdPartyLevels) {
            return dropped(DropReason::ThirdPartyTooDeep);
        }
        if (const auto failure = splitFrame(frame.information.substr(1), frame)) {
            return dropped(*failure);
        }
        if (thirdPartyLevels == 0) {
            path = frame.path;
        }
        ++thirdPartyLevels;
    }
    const PositionOutcome outcome = decodeInformation(frame);
    if (!outcome.position) {
        return dropped(outcome.failure);
    }
    if (!isInRange(*outcome.position)) {
        return dropped(DropReason::PositionOutOfRange);
    }
    DecodeResult result;
    result.packet.emplace();
    result.packet->callsign.assign(frame.source);
    result.packet->path.assign(path);
    result.packet->position = *outcome.position;
    result.packet->viaDigipeater = heardViaDigipeater(path);
    result.packet->thirdParty = thirdPartyLevels > 0;
    result.packet->ambiguity = outcome.ambiguity;
    return result;
}

}  // namespace ovelsk::aprs
