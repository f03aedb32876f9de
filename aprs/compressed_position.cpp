#include "aprs/compressed_position.h"

namespace ovelsk::aprs {
namespace {

constexpr std::size_t kCompressedLength = 13;

bool isBase91(char c) { return c >= '!' && c <= '{'; }

// Four base-91 digits, most significant first; -1 if one is not a base-91 digit.
long readBase91(std::string_view digits)
{
    long value = 0;
    for (const char c : digits) {
        if (!isBase91(c)) {
            return -1;
        }
        value = value * 91 + (c - '!');
    }
    return value;
}

// "/", "\", an overlay letter "A".."Z" or an overlay digit written as "a".."j"
// (a digit itself would start a plain-text latitude).
bool isCompressedSymbolTable(char c)
{
    return c == '/' || c == '\\' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'j');
}

}  // namespace

PositionOutcome decodeCompressedPosition(std::string_view body)
{
    if (body.size() < kCompressedLength) {
        return PositionOutcome::failed(DropReason::BadPosition);
    }
    const long y = readBase91(body.substr(1, 4));
    const long x = readBase91(body.substr(5, 4));
    if (y < 0 || x < 0) {
        return PositionOutcome::failed(DropReason::BadPosition);
    }
    if (!isCompressedSymbolTable(body.front())) {
        return PositionOutcome::failed(DropReason::BadSymbolTable);
    }
    // The course/speed pair and type byte carry no position; a blank pair simply
    // means none is sent, so they are not read here.
    return PositionOutcome::found(90.0 - y / 380926.0, -180.0 + x / 190463.0);
}

}  // namespace ovelsk::aprs
