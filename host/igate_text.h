#pragma once
// The text of the host's igate.ini with Ovelsk's block of callsigns in its
// [INET_TO_RF] section. Pure text in, text out; igate_file.h does the file work.
//
//   [INET_TO_RF]
//   ;Ovelsk IGATE Section - Start
//   G4ABC-9=ALL
//   ;Ovelsk IGATE Section - End
//   W1AW=ALL            <- the user's own lines pass through untouched

#include <string>
#include <string_view>
#include <vector>

namespace ovelsk {

inline constexpr std::string_view kIgateHeader = "[INET_TO_RF]";
inline constexpr std::string_view kIgateStartMarker = ";Ovelsk IGATE Section - Start";
inline constexpr std::string_view kIgateEndMarker = ";Ovelsk IGATE Section - End";

// Takes the next line off `text`. A line ends at CRLF, LF or a lone CR, as the
// host's own platform reads text, and at CR CR LF (a CRLF file that went through
// a conversion of LF to CRLF once more); text after the last ending is a last
// line without one.
std::string_view takeIgateLine(std::string_view& text);

// Rewrites `current` (the bytes of igate.ini) for the candidate `rows` (list row
// texts, tab-separated, callsign in field 2):
// - lines end at CRLF, LF, a lone CR or CR CR LF and are copied as bytes; every
//   line written ends in CRLF;
// - after each header line ("[INET_TO_RF]" with spaces around it, not tabs, exact
//   case) a fresh block: start marker, "CALLSIGN=ALL" per row, end marker;
// - the previous block (start marker through end marker) is left out;
// - a start marker with no end marker before the next start marker (or the end
//   of the file) is left out with the "CALL=ALL" lines right after it only;
// - every other line passes through, headers included;
// - text with neither a header nor a start marker comes back as it was, byte for
//   byte: there is nothing of Ovelsk's in it to write.
std::string rewriteIgateText(std::string_view current, const std::vector<std::string>& rows);

// Whether `line` (without its line end) is the section's header as the rewrite
// finds it: "[INET_TO_RF]", exact case, with spaces (not tabs) around it.
bool isIgateHeader(std::string_view line);

}  // namespace ovelsk
