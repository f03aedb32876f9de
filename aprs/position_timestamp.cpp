#include "aprs/position_timestamp.h"

#include "aprs/position_outcome.h"

namespace ovelsk::aprs {
namespace {

// The two digits at text[at], text[at + 1] as a number; -1 unless both are digits.
int twoDigits(std::string_view text, std::size_t at)
{
    if (!isDigit(text[at]) || !isDigit(text[at + 1])) {
        return -1;
    }
    return digitValue(text[at]) * 10 + digitValue(text[at + 1]);
}

}  // namespace

bool startsWithTimestamp(std::string_view text)
{
    if (text.size() < kTimestampLength) {
        return false;
    }
    const int first = twoDigits(text, 0);
    const int second = twoDigits(text, 2);
    const int third = twoDigits(text, 4);
    if (first < 0 || second < 0 || third < 0) {
        return false;
    }
    switch (text[6]) {
    case 'z':
    case '/': {
        // Weather stations without a clock send day 0 at 00:00, as N6TVE-11 (APTW01) does
        // in "@000000z3429.95N/11949.07W_...": no time, and a sound position after it.
        const bool noTime = first == 0 && second == 0 && third == 0;
        return (noTime || (first >= 1 && first <= 31)) && second <= 23 && third <= 59;
    }
    case 'h':
        return first <= 23 && second <= 59 && third <= 59;
    default:
        return false;
    }
}

}  // namespace ovelsk::aprs
