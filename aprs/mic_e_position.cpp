#include "aprs/mic_e_position.h"

#include "aprs/dao_extension.h"

#include <optional>

namespace ovelsk::aprs {
namespace {

constexpr std::size_t kDestinationLength = 6;
constexpr std::size_t kFixedInformationLength = 9;  // type, 3 longitude, 3 speed/course, 2 symbol
constexpr std::size_t kSymbolTableAt = 8;           // after the symbol code

// One destination character: a latitude digit (or blank, -1) and whether it is
// from the "flag set" range (P..Z), which in the last three places means North,
// +100 degrees of longitude and West.
struct DestinationChar {
    int digit = 0;
    bool flagSet = false;
};

// "0".."9" and "L" are the plain range, "P".."Z" the flag-set range; "A".."K"
// (custom message bits) only appear in the first three places.
std::optional<DestinationChar> readDestinationChar(char c, std::size_t place)
{
    if (isDigit(c)) {
        return DestinationChar{digitValue(c), false};
    }
    if (c == 'L') {
        return DestinationChar{-1, false};
    }
    if (c >= 'P' && c <= 'Y') {
        return DestinationChar{c - 'P', true};
    }
    if (c == 'Z') {
        return DestinationChar{-1, true};
    }
    if (place < 3 && c >= 'A' && c <= 'J') {
        return DestinationChar{c - 'A', false};
    }
    if (place < 3 && c == 'K') {
        return DestinationChar{-1, false};
    }
    return std::nullopt;
}

int byteValue(char c) { return static_cast<unsigned char>(c) - 28; }

// Degrees of longitude from the d+28 byte and the +100 flag: 0..9 are sent as
// 190..199 and 100..109 as 180..189 so that every byte stays printable.
int longitudeDegrees(char encoded, bool plus100)
{
    int degrees = byteValue(encoded) + (plus100 ? 100 : 0);
    if (degrees >= 180 && degrees <= 189) {
        degrees -= 80;
    } else if (degrees >= 190 && degrees <= 199) {
        degrees -= 190;
    }
    return degrees;
}

}  // namespace

bool isMicEType(char dataType)
{
    return dataType == '`' || dataType == '\'' || dataType == '\x1c' || dataType == '\x1d';
}

PositionOutcome decodeMicEPosition(std::string_view destination, std::string_view information)
{
    destination = destination.substr(0, destination.find('-'));
    if (destination.size() != kDestinationLength || information.size() < kFixedInformationLength) {
        return PositionOutcome::failed(DropReason::BadPosition);
    }
    DestinationChar chars[kDestinationLength];
    int ambiguity = 0;
    for (std::size_t i = 0; i < kDestinationLength; ++i) {
        const auto c = readDestinationChar(destination[i], i);
        if (!c) {
            return PositionOutcome::failed(DropReason::BadPosition);
        }
        chars[i] = *c;
        // Blanks stand for the last digits only (at most four), never a degree digit.
        if (chars[i].digit < 0) {
            ++ambiguity;
            chars[i].digit = 0;
        } else if (ambiguity > 0) {
            return PositionOutcome::failed(DropReason::BadPosition);
        }
    }
    if (ambiguity > 4) {
        return PositionOutcome::failed(DropReason::BadPosition);
    }
    const bool north = chars[3].flagSet;
    const bool plus100 = chars[4].flagSet;
    const bool west = chars[5].flagSet;

    const int lonDegrees = longitudeDegrees(information[1], plus100);
    int lonMinutes = byteValue(information[2]);
    if (lonMinutes >= 60) {
        lonMinutes -= 60;  // minutes 0..9 are sent as 60..69
    }
    int lonHundredths = byteValue(information[3]);
    if (lonDegrees < 0 || lonDegrees > 179 || lonMinutes < 0 || lonMinutes > 59 || lonHundredths < 0 ||
        lonHundredths > 99) {
        return PositionOutcome::failed(DropReason::BadPosition);
    }
    const int latMinutes = chars[2].digit * 10 + chars[3].digit;
    if (chars[2].digit > 5) {
        return PositionOutcome::failed(DropReason::BadPosition);
    }
    if (!isUncompressedSymbolTable(information[kSymbolTableAt])) {
        return PositionOutcome::failed(DropReason::BadSymbolTable);
    }

    // The longitude hides as many digits as the latitude does.
    int lonDigits[4] = {lonMinutes / 10, lonMinutes % 10, lonHundredths / 10, lonHundredths % 10};
    for (int i = 0; i < ambiguity; ++i) {
        lonDigits[3 - i] = 0;
    }
    const DaoExtra dao = ambiguity == 0 ? findDao(information.substr(kFixedInformationLength)) : DaoExtra{};
    const double centre = ambiguityCentreMinutes(ambiguity);
    const double lat = chars[0].digit * 10 + chars[1].digit +
                       (latMinutes + (chars[4].digit * 10 + chars[5].digit) / 100.0 + centre + dao.latitudeMinutes) /
                           60.0;
    const double lon = lonDegrees + (lonDigits[0] * 10 + lonDigits[1] + (lonDigits[2] * 10 + lonDigits[3]) / 100.0 +
                                     centre + dao.longitudeMinutes) /
                                        60.0;
    return PositionOutcome::found(north ? lat : -lat, west ? -lon : lon, ambiguity);
}

}  // namespace ovelsk::aprs
