#pragma once
// Decoding of APRS packets in TNC2 text form, as bytes:
//   N0CALL-9>APRS,WIDE1-1,WIDE2-1:!4903.50N/07201.75W-Test
// Only packets that report the sender's own position become beacons.

#include "aprs/drop_reason.h"

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
    std::string callsign;        // a valid APRS source callsign; the innermost sender of a third-party frame
    std::string path;            // header text between ">" and ":"; for a third-party frame, that of the
                                 // header after the first "}", however deeply the packet is nested
    Position position;
    bool viaDigipeater = false;  // a digipeater in the path is marked as having repeated it ("*"); marks
                                 // after TCPIP or a q-construct ("qAR") are the Internet's and do not count
    bool thirdParty = false;     // arrived wrapped in "}" third-party frames (at most 4 deep)
    int ambiguity = 0;           // digits the sender blanked (0..4); position is then the box centre
};

struct DecodeResult {
    std::optional<DecodedPacket> packet;  // set when the packet raises a beacon
    DropReason dropReason = DropReason::NoPosition;  // otherwise why not
};

DecodeResult decodePacket(std::string_view tnc2);

}  // namespace ovelsk::aprs
