#include "aprs/uncompressed_position.h"

#include "aprs/dao_extension.h"

#include <algorithm>
#include <optional>

namespace ovelsk::aprs {
namespace {

constexpr std::size_t kLatitudeLength = 8;    // DDMM.hhN
constexpr std::size_t kLongitudeLength = 9;   // DDDMM.hhW
constexpr std::size_t kPositionLength = kLatitudeLength + 1 + kLongitudeLength + 1;

// One coordinate as written: whole degrees, then minutes with hundredths.
struct Angle {
    int degrees = 0;
    int minuteDigits[4] = {};  // M M h h, blanks read as 0
    int ambiguity = 0;         // how many of those digits were blank, from the right
    char hemisphere = 0;
};

// "DDMM.hhN" (degreeDigits 2) or "DDDMM.hhW" (3). Blanks may only replace the
// minute digits from the right, as position ambiguity does.
std::optional<Angle> readAngle(std::string_view text, std::size_t degreeDigits)
{
    Angle angle;
    for (std::size_t i = 0; i < degreeDigits; ++i) {
        if (!isDigit(text[i])) {
            return std::nullopt;
        }
        angle.degrees = angle.degrees * 10 + digitValue(text[i]);
    }
    if (text[degreeDigits + 2] != '.') {
        return std::nullopt;
    }
    const std::size_t minutePositions[4] = {degreeDigits, degreeDigits + 1, degreeDigits + 3, degreeDigits + 4};
    for (int i = 3; i >= 0; --i) {
        const char c = text[minutePositions[i]];
        if (c == ' ' && angle.ambiguity == 3 - i) {
            ++angle.ambiguity;
        } else if (isDigit(c)) {
            angle.minuteDigits[i] = digitValue(c);
        } else {
            return std::nullopt;
        }
    }
    angle.hemisphere = text[degreeDigits + 5];
    return angle;
}

// Magnitude in degrees with the digits hidden by the ambiguity level dropped and
// the box centre taken, plus any extra DAO minutes.
double toDegrees(const Angle& angle, int ambiguity, double extraMinutes)
{
    int digits[4] = {angle.minuteDigits[0], angle.minuteDigits[1], angle.minuteDigits[2], angle.minuteDigits[3]};
    for (int i = 0; i < ambiguity; ++i) {
        digits[3 - i] = 0;
    }
    const double minutes = digits[0] * 10 + digits[1] + (digits[2] * 10 + digits[3]) / 100.0 +
                           ambiguityCentreMinutes(ambiguity) + extraMinutes;
    return angle.degrees + minutes / 60.0;
}

}  // namespace

PositionOutcome decodeUncompressedPosition(std::string_view body)
{
    if (body.size() < kPositionLength) {
        return PositionOutcome::failed(DropReason::BadPosition);
    }
    const auto latitude = readAngle(body.substr(0, kLatitudeLength), 2);
    const auto longitude = readAngle(body.substr(kLatitudeLength + 1, kLongitudeLength), 3);
    if (!latitude || !longitude || latitude->minuteDigits[0] > 5 || longitude->minuteDigits[0] > 5) {
        return PositionOutcome::failed(DropReason::BadPosition);
    }
    // Lower-case hemisphere letters are off the standard but common enough to read.
    const char ns = static_cast<char>(latitude->hemisphere & ~0x20);
    const char ew = static_cast<char>(longitude->hemisphere & ~0x20);
    const bool north = ns == 'N';
    const bool east = ew == 'E';
    if ((!north && ns != 'S') || (!east && ew != 'W')) {
        return PositionOutcome::failed(DropReason::BadPosition);
    }
    if (!isUncompressedSymbolTable(body[kLatitudeLength])) {
        return PositionOutcome::failed(DropReason::BadSymbolTable);
    }
    const int ambiguity = std::max(latitude->ambiguity, longitude->ambiguity);
    const DaoExtra dao = ambiguity == 0 ? findDao(body.substr(kPositionLength)) : DaoExtra{};
    const double lat = toDegrees(*latitude, ambiguity, dao.latitudeMinutes);
    const double lon = toDegrees(*longitude, ambiguity, dao.longitudeMinutes);
    return PositionOutcome::found(north ? lat : -lat, east ? lon : -lon, ambiguity);
}

}  // namespace ovelsk::aprs
