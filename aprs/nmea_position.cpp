#include "aprs/nmea_position.h"

#include <array>
#include <optional>

namespace ovelsk::aprs {
namespace {

constexpr std::size_t kMaxFields = 8;

int hexValue(char c)
{
    if (isDigit(c)) {
        return digitValue(c);
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// Cuts the "*hh" checksum off the sentence; false when it is present and wrong.
bool checkAndStripChecksum(std::string_view& sentence)
{
    const std::size_t star = sentence.rfind('*');
    if (star == std::string_view::npos) {
        return true;
    }
    const std::string_view sent = sentence.substr(star + 1);
    if (sent.size() < 2 || hexValue(sent[0]) < 0 || hexValue(sent[1]) < 0) {
        return false;
    }
    unsigned sum = 0;
    for (std::size_t i = 1; i < star; ++i) {
        sum ^= static_cast<unsigned char>(sentence[i]);
    }
    sentence = sentence.substr(0, star);
    return sum == static_cast<unsigned>(hexValue(sent[0]) * 16 + hexValue(sent[1]));
}

// "4807.038" with degreeDigits 2, "01131.000" with 3: degrees, whole minutes, any decimals.
std::optional<double> readNmeaAngle(std::string_view text, std::size_t degreeDigits)
{
    if (text.size() < degreeDigits + 2) {
        return std::nullopt;
    }
    int degrees = 0;
    for (std::size_t i = 0; i < degreeDigits; ++i) {
        if (!isDigit(text[i])) {
            return std::nullopt;
        }
        degrees = degrees * 10 + digitValue(text[i]);
    }
    const char tens = text[degreeDigits];
    const char units = text[degreeDigits + 1];
    if (!isDigit(tens) || !isDigit(units) || tens > '5') {
        return std::nullopt;
    }
    double minutes = digitValue(tens) * 10 + digitValue(units);
    std::string_view fraction = text.substr(degreeDigits + 2);
    if (!fraction.empty()) {
        if (fraction.front() != '.') {
            return std::nullopt;
        }
        double scale = 0.1;
        for (const char c : fraction.substr(1, 9)) {
            if (!isDigit(c)) {
                return std::nullopt;
            }
            minutes += digitValue(c) * scale;
            scale /= 10;
        }
    }
    return degrees + minutes / 60.0;
}

PositionOutcome readCoordinates(std::string_view lat, std::string_view ns, std::string_view lon, std::string_view ew)
{
    const auto latitude = readNmeaAngle(lat, 2);
    const auto longitude = readNmeaAngle(lon, 3);
    if (!latitude || !longitude || (ns != "N" && ns != "S") || (ew != "E" && ew != "W")) {
        return PositionOutcome::failed(DropReason::BadPosition);
    }
    return PositionOutcome::found(ns == "N" ? *latitude : -*latitude, ew == "E" ? *longitude : -*longitude);
}

}  // namespace

PositionOutcome decodeNmeaPosition(std::string_view information)
{
    std::string_view sentence = information;
    while (!sentence.empty() && (sentence.back() == '\r' || sentence.back() == '\n' || sentence.back() == ' ')) {
        sentence.remove_suffix(1);
    }
    const std::string_view kind = sentence.substr(0, 7);
    const bool rmc = kind == "$GPRMC," || kind == "$GNRMC,";
    const bool gga = kind == "$GPGGA," || kind == "$GNGGA,";
    const bool gll = kind == "$GPGLL," || kind == "$GNGLL,";
    if (!rmc && !gga && !gll) {
        return PositionOutcome::failed(DropReason::NoPosition);
    }
    if (!checkAndStripChecksum(sentence)) {
        return PositionOutcome::failed(DropReason::BadPosition);
    }
    std::array<std::string_view, kMaxFields> fields{};
    std::size_t count = 0;
    std::size_t start = 0;
    while (count < kMaxFields) {
        const std::size_t comma = sentence.find(',', start);
        fields[count++] = sentence.substr(start, comma == std::string_view::npos ? comma : comma - start);
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    // RMC: time, status (A valid, V void), lat, N/S, lon, E/W.
    if (rmc) {
        if (count < 7) {
            return PositionOutcome::failed(DropReason::BadPosition);
        }
        if (fields[2] != "A") {
            return PositionOutcome::failed(DropReason::NoPosition);
        }
        return readCoordinates(fields[3], fields[4], fields[5], fields[6]);
    }
    // GLL: lat, N/S, lon, E/W, then time and status (A valid, V void), which
    // receivers older than NMEA 2.0 leave out.
    if (gll) {
        if (count < 5) {
            return PositionOutcome::failed(DropReason::BadPosition);
        }
        if (count > 6 && fields[6] != "A") {
            return PositionOutcome::failed(DropReason::NoPosition);
        }
        return readCoordinates(fields[1], fields[2], fields[3], fields[4]);
    }
    // GGA: time, lat, N/S, lon, E/W, fix quality (0 none).
    if (count < 7) {
        return PositionOutcome::failed(DropReason::BadPosition);
    }
    if (fields[6].empty() || fields[6] == "0") {
        return PositionOutcome::failed(DropReason::NoPosition);
    }
    return readCoordinates(fields[2], fields[3], fields[4], fields[5]);
}

}  // namespace ovelsk::aprs
