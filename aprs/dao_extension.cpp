#include "aprs/dao_extension.h"

#include "aprs/position_outcome.h"

namespace ovelsk::aprs {
namespace {

bool isBase91(char c) { return c >= '!' && c <= '{'; }

// A blank in the human-readable form means "no extra digit".
bool isDaoDigit(char c) { return isDigit(c) || c == ' '; }
double daoDigit(char c) { return c == ' ' ? 0.0 : digitValue(c) * 0.001; }

// Base 91 spreads 0.0000'..0.0099' over 91 steps of 1.1 ten-thousandths.
double daoBase91(char c) { return (c - '!') * 1.1 / 10000.0; }

}  // namespace

DaoExtra findDao(std::string_view comment)
{
    for (std::size_t at = comment.find('!'); at != std::string_view::npos && at + 4 < comment.size();
         at = comment.find('!', at + 1)) {
        const char datum = comment[at + 1];
        const char lat = comment[at + 2];
        const char lon = comment[at + 3];
        if (comment[at + 4] != '!') {
            continue;
        }
        if (datum >= 'A' && datum <= 'Z' && isDaoDigit(lat) && isDaoDigit(lon)) {
            return {daoDigit(lat), daoDigit(lon)};
        }
        if (datum >= 'a' && datum <= 'z' && isBase91(lat) && isBase91(lon)) {
            return {daoBase91(lat), daoBase91(lon)};
        }
    }
    return {};
}

}  // namespace ovelsk::aprs
