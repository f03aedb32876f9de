#pragma once
// What one position format reader found: a position, or why there is none.

#include "aprs/drop_reason.h"
#include "aprs/packet_decoder.h"

#include <optional>

namespace ovelsk::aprs {

struct PositionOutcome {
    std::optional<Position> position;
    DropReason failure = DropReason::NoPosition;  // why position is empty
    int ambiguity = 0;

    static PositionOutcome found(double latitude, double longitude, int ambiguity = 0)
    {
        return {Position{latitude, longitude}, DropReason::NoPosition, ambiguity};
    }
    static PositionOutcome failed(DropReason why) { return {std::nullopt, why, 0}; }
};

inline constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }
inline constexpr int digitValue(char c) { return c - '0'; }

// The symbol table of a plain-text or Mic-E position: the primary "/", the
// alternate "\", or an overlay digit or capital letter on the alternate table.
inline constexpr bool isUncompressedSymbolTable(char c)
{
    return c == '/' || c == '\\' || isDigit(c) || (c >= 'A' && c <= 'Z');
}

// Half the size, in minutes of arc, of the box that position ambiguity leaves
// open: level 1 blanks the last hundredth, 2 both hundredths, 3 also the last
// minute digit, 4 all minutes. An ambiguous report is placed at the box centre.
inline constexpr double ambiguityCentreMinutes(int level)
{
    constexpr double kHalfBox[] = {0.0, 0.05, 0.5, 5.0, 30.0};
    return kHalfBox[level];
}

}  // namespace ovelsk::aprs
