#pragma once
// The position report an iGate sends of itself, so it shows on maps and other
// operators know what it does: the iGate symbol "&" with an overlay in place of
// the symbol table that says how it serves radio, and a comment:
//   !4000.90NT10516.23W&Ovelsk iGate
// The overlays in use for iGates:
//   R  receive only: nothing from the Internet reaches radio
//   T  messages go to radio with at most one hop
//   2  with two hops
//   I  with more

#include <cstddef>
#include <string>
#include <string_view>

namespace ovelsk::aprs {

// The longest beacon comment; with the 20 bytes of position and symbol it keeps
// the report within the 63 bytes an APRS position report allows.
inline constexpr std::size_t kMaxBeaconCommentBytes = 43;

// The overlay for an iGate that does or does not deliver Internet messages to
// radio, through the digipeater path `via` ("WIDE1-1,WIDE2-1"; empty for none).
// The hops are those the path asks for (aprs/aprs_message.h).
char igateOverlay(bool deliversMessagesToRadio, std::string_view via);

// "!DDMM.mmN" overlay "DDDMM.mmW&" comment: the position in degrees and minutes
// to hundredths (rounded; 59.996 minutes becomes the next whole degree).
std::string igatePositionReport(double latitude, double longitude, char overlay, std::string_view comment);

// Whether `comment` fits a beacon: at most 43 bytes of printable ASCII.
bool isValidBeaconComment(std::string_view comment);

}  // namespace ovelsk::aprs
