#pragma once
// What the gateway to radio needs to know of a packet beyond its header: whether
// it is a message to one station, whether it reports its sender's position, and
// how many digipeaters carried it.
//
// A message is ":", the addressee padded with spaces to 9 characters, ":" and
// the text; acks and rejects are messages too:
//   W1FAR>APRS,TCPIP*,qAC,T2TEST::M1LOC-7  :Hello{42
//   M1LOC-7>APRS,WIDE1-1,qAR,N0TEST::W1FAR    :ack42

#include <optional>
#include <string>
#include <string_view>

namespace ovelsk::aprs {

struct AprsMessage {
    std::string_view addressee;  // trailing spaces trimmed
    std::string_view text;
};

// The message in a packet's information, or nothing when it is none.
std::optional<AprsMessage> parseAprsMessage(std::string_view information);

// The information of a message to `addressee` (padded to 9 characters) with `text`.
std::string aprsMessageInformation(std::string_view addressee, std::string_view text);

// A message's text without its number, and the number ("Hello{42": "Hello" and
// "42"); the number is empty when the text has none.
struct NumberedText {
    std::string_view text;
    std::string_view number;
};
NumberedText splitMessageNumber(std::string_view text);

// Bulletins, announcements and weather service messages are addressed to
// everyone who reads them, not to one station: BLN*, NWS*, SKY*, CWA*, BOM*.
bool isBroadcastAddressee(std::string_view addressee);

// Whether the information reports the sender's own position (not an object's).
bool isPositionReport(std::string_view information);

// How many digipeaters repeated a packet with this path (the elements after the
// destination). Each callsign up to the last element marked "*" is one hop; a
// used generic alias (WIDE1*) right after a callsign is that callsign's hop, one
// with no callsign before it a hop of its own:
//   (empty) 0   DIGI1*,WIDE2-1 1   DIGI1,WIDE1*,WIDE2-1 1   WIDE1*,WIDE2-1 1   DIGI1,DIGI2* 2
int digipeaterHopsUsed(std::string_view path);

// How many hops a digipeater path asks for ("WIDE1-1,WIDE2-1"): an alias
// NAMEn-N (WIDE2-2, TRACE7-7, a state route SS3-3) asks N, any other address one.
int digipeaterHopsAsked(std::string_view path);

}  // namespace ovelsk::aprs
