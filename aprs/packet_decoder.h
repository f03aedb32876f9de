#pragma once
// Decoding of APRS packets in TNC2 text form, as bytes:
//   N0CALL-9>APRS,WIDE1-1,WIDE2-1:!4903.50N/07201.75W-Test
// Only packets that report the sender's own position become beacons.

#include <optional>
#include <string>
#include <string_view>

#include "aprs/callsign.h"

namespace ovelsk::aprs {

struct Position {
    double latitude = 0;   // decimal degrees, north positive
    double longitude = 0;  // decimal degrees, east positive
};

struct DecodedPacket {
    std::string callsign;        // a valid APRS source callsign; the inner sender of a third-party frame
    std::string path;            // header text between ">" and ":" (the inner header's for third-party)
    Position position;
    bool viaDigipeater = false;  // a digipeater in the path is marked as having repeated it ("*"); marks
                                 // after TCPIP or a q-construct ("qAR") are the Internet's and do not count
    bool thirdParty = false;     // arrived wrapped in a "}" third-party frame
    int ambiguity = 0;           // digits the sender blanked (0..4); position is then the box centre
};

struct DecodeResult {
    std::optional<DecodedPacket> packet;  // set when the packet raises a beacon
    std::string dropReason;               // otherwise why not, one of:
    // "malformed header", "bad callsign", "nested third-party", "no position", "bad position",
    // "position out of range", "object", "item", "message", "status", "telemetry"
};

DecodeResult decodePacket(std::string_view tnc2);

}  // namespace ovelsk::aprs
