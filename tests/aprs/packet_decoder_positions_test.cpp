// Positions read from every format a station can beacon in, against values
// worked out by hand from the encoding rules.

#include "aprs/packet_decoder.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

namespace ovelsk::aprs {
namespace {

constexpr double kTolerance = 1e-6;

struct Expected {
    std::string_view packet;
    double latitude;
    double longitude;
};

void expectPosition(const Expected& expected)
{
    SCOPED_TRACE(std::string(expected.packet));
    const DecodeResult result = decodePacket(expected.packet);
    ASSERT_TRUE(result.packet.has_value()) << "dropped: " << dropReasonLabel(result.dropReason);
    EXPECT_NEAR(result.packet->position.latitude, expected.latitude, kTolerance);
    EXPECT_NEAR(result.packet->position.longitude, expected.longitude, kTolerance);
}

void expectDrop(std::string_view packet, std::string_view reason)
{
    SCOPED_TRACE(std::string(packet));
    const DecodeResult result = decodePacket(packet);
    EXPECT_FALSE(result.packet.has_value());
    EXPECT_EQ(dropReasonLabel(result.dropReason), reason);
}

// A packet and what must come of it: the position, or the reason it is dropped.
struct Case {
    std::string_view packet;
    std::string_view dropReason;  // empty when the packet must give the position
    double latitude = 0;
    double longitude = 0;
};

void expectOutcomes(std::initializer_list<Case> cases)
{
    for (const Case& c : cases) {
        if (c.dropReason.empty()) {
            expectPosition({c.packet, c.latitude, c.longitude});
        } else {
            expectDrop(c.packet, c.dropReason);
        }
    }
}

constexpr double kLat = 49.058333333;   // 4903.50N
constexpr double kLon = -72.029166667;  // 07201.75W

TEST(PacketDecoderPositions, UncompressedWithAndWithoutTimestampInAllHemispheres)
{
    for (const Expected& e : {
             Expected{"N0CALL-9>APRS,WIDE1-1,WIDE2-1:!4903.50N/07201.75W-Test", 49.058333333, -72.029166667},
             Expected{"N0CALL>APRS:=4903.50N/07201.75W-messaging", 49.058333333, -72.029166667},
             Expected{"N0CALL>APRS:@092345z4903.50S/07201.75E>south east", -49.058333333, 72.029166667},
             Expected{"N0CALL>APRS:/234517h0000.00N/00000.00E>", 0.0, 0.0},
             Expected{"N0CALL>APRS:@092345/3352.12S\\15112.30E_weather", -33.868666667, 151.205},
             Expected{"N0CALL>APRS:!9000.00N/18000.00W#pole", 90.0, -180.0},
         }) {
        expectPosition(e);
    }
}

TEST(PacketDecoderPositions, AmbiguityGivesTheCentreOfTheBoxForBothCoordinates)
{
    for (const Expected& e : {
             Expected{"N0CALL>APRS:!4903.5 N/07201.7 W-", 49 + 3.55 / 60, -(72 + 1.75 / 60)},
             Expected{"N0CALL>APRS:!4903.  N/07201.  W-", 49 + 3.5 / 60, -(72 + 1.5 / 60)},
             Expected{"N0CALL>APRS:!490 .  N/0720 .  W-", 49 + 5.0 / 60, -(72 + 5.0 / 60)},
             Expected{"N0CALL>APRS:!49  .  S/072  .  E-", -49.5, 72.5},
             // The latitude's blanks hide the same digits of a fully written longitude.
             Expected{"N0CALL>APRS:!4903.  N/07201.75W-", 49 + 3.5 / 60, -(72 + 1.5 / 60)},
         }) {
        expectPosition(e);
    }
    expectDrop("N0CALL>APRS:!49 3.50N/07201.75W-", "bad position");
    expectDrop("N0CALL>APRS:!4903. 0N/07201.75W-", "bad position");
}

TEST(PacketDecoderPositions, AmbiguityLevelIsReported)
{
    EXPECT_EQ(decodePacket("N0CALL>APRS:!4903.50N/07201.75W-").packet->ambiguity, 0);
    EXPECT_EQ(decodePacket("N0CALL>APRS:!4903.5 N/07201.7 W-").packet->ambiguity, 1);
    EXPECT_EQ(decodePacket("N0CALL>APRS:!49  .  N/072  .  W-").packet->ambiguity, 4);
    EXPECT_EQ(decodePacket("N0CALL>TYPSLZ:`dYgoZO>/").packet->ambiguity, 2);
    EXPECT_EQ(decodePacket("N0CALL-5>APRS:=/5L!!<*e7>7P[").packet->ambiguity, 0);
}

TEST(PacketDecoderPositions, LenientAboutHemisphereCase)
{
    expectPosition({"N0CALL>APRS:!4903.50n/07201.75w-", 49.058333333, -72.029166667});
}

TEST(PacketDecoderPositions, TimestampMustBeOneOfTheThreeFormsWithFieldsInRange)
{
    expectOutcomes({
        {"N0CALL>APRS:@092345z4903.50N/07201.75W-", "", kLat, kLon},
        {"N0CALL>APRS:/311259/4903.50N/07201.75W-", "", kLat, kLon},
        {"N0CALL>APRS:@235959h4903.50N/07201.75W-", "", kLat, kLon},
        {"N0CALL>APRS:@000000z4903.50N/07201.75W-", "", kLat, kLon},  // a station without a clock
        // Without its timestamp the field was read from its eighth byte, as a
        // compressed position at 61.95N 112.08W.
        {"N0CALL>APRS:@5030.50S/10020.30E$no timestamp", "bad timestamp"},
        {"N0CALL>APRS:@0923x5z4903.50N/07201.75W-", "bad timestamp"},
        {"N0CALL>APRS:@322345z4903.50N/07201.75W-", "bad timestamp"},
        {"N0CALL>APRS:@002345z4903.50N/07201.75W-", "bad timestamp"},
        {"N0CALL>APRS:@092445z4903.50N/07201.75W-", "bad timestamp"},
        {"N0CALL>APRS:/092360/4903.50N/07201.75W-", "bad timestamp"},
        {"N0CALL>APRS:@235960h4903.50N/07201.75W-", "bad timestamp"},
        {"N0CALL>APRS:@092345Z4903.50N/07201.75W-", "bad timestamp"},
        {"N0CALL>APRS:@092345z", "bad position"},
        {"N0CALL>APRS:@092345", "bad timestamp"},
    });
}

TEST(PacketDecoderPositions, SymbolTableMustBeOneTheFormatAllows)
{
    const double compressedLongitude = -180.0 + 20427156.0 / 190463.0;
    expectOutcomes({
        {"N0CALL>APRS:!4903.50N\\07201.75W-", "", kLat, kLon},
        {"N0CALL>APRS:!4903.50N907201.75W#", "", kLat, kLon},
        {"N0CALL>APRS:!4903.50NZ07201.75W#", "", kLat, kLon},
        {"N0CALL>APRS:!4903.50N|07201.75W-", "bad symbol table"},
        {"N0CALL>APRS:!4903.50Na07201.75W-", "bad symbol table"},
        {"N0CALL>APRS:!4903.50N 07201.75W-", "bad symbol table"},
        {"N0CALL>APRS:=\\5L!!<*e7>7P[", "", 49.5, compressedLongitude},
        {"N0CALL>APRS:=Z5L!!<*e7>7P[", "", 49.5, compressedLongitude},
        {"N0CALL>APRS:=j5L!!<*e7>7P[", "", 49.5, compressedLongitude},
        {"N0CALL>APRS:=k5L!!<*e7>7P[", "bad symbol table"},
        {"N0CALL>APRS:=|5L!!<*e7>7P[", "bad symbol table"},
        {"N0CALL>TYPS5P:`dYgoZO>\\", "", kLat, kLon},
        {"N0CALL>TYPS5P:`dYgoZO>9", "", kLat, kLon},
        {"N0CALL>TYPS5P:`dYgoZO>a", "bad symbol table"},
        {"N0CALL>TYPS5P:`dYgoZO>|", "bad symbol table"},
    });
}

TEST(PacketDecoderPositions, PlainPositionAfterFreeTextWithinTheFirst40Bytes)
{
    expectOutcomes({
        {"N0CALL>BEACON:hello world!4903.50N/07201.75W-", "", kLat, kLon},
        {"N0CALL>APRS:TEST!4903.50N/07201.75W-", "", kLat, kLon},
        {"N0CALL>APRS:Hi! Home is !4903.50N/07201.75W-", "", kLat, kLon},
        {"N0CALL>APRS:0123456789012345678901234567890123456789!4903.50N/07201.75W-", "no position"},
        {"N0CALL>APRS:012345678901234567890123456789012345678!4903.50N/07201.75W-", "", kLat, kLon},
        {"N0CALL>APRS:Wow!/5L!!<*e7>7P[", "no position"},
        {"N0CALL>APRS:hello!4903.50N|07201.75W-", "bad symbol table"},
        {"N0CALL>APRS:T#005,199!4903.50N/07201.75W-", "telemetry"},
        {"N0CALL>APRS:>at home !4903.50N/07201.75W-", "status"},
        {"N0CALL>APRS:_10090556c220s004g005!4903.50N/07201.75W-", "no position"},
        {"N0CALL>APRS:<IGATE!4903.50N/07201.75W-", "no position"},
    });
}

TEST(PacketDecoderPositions, DaoExtensionAddsPrecisionUnlessAmbiguous)
{
    expectPosition({"N0CALL>APRS:!4903.50N/07201.75W>comment !W52!", 49 + 3.505 / 60, -(72 + 1.752 / 60)});
    expectPosition({"N0CALL>APRS:!4903.50N/07201.75W>!w\"#!", 49 + 3.50011 / 60, -(72 + 1.75022 / 60)});
    expectPosition({"N0CALL>APRS:!4903.  N/07201.  W>!W52!", 49 + 3.5 / 60, -(72 + 1.5 / 60)});
}

TEST(PacketDecoderPositions, CompressedWithAndWithoutCourseAndSpeed)
{
    // "<*e7" is 20427156 in base 91; the format's step is 1/190463 degree of longitude.
    const double exampleLongitude = -180.0 + 20427156.0 / 190463.0;
    for (const Expected& e : {
             Expected{"N0CALL-5>APRS:=/5L!!<*e7>7P[compressed", 49.5, exampleLongitude},
             Expected{"N0CALL-5>APRS:!/5L!!<*e7>  T", 49.5, exampleLongitude},
             Expected{"N0CALL-5>APRS:@092345z/5L!!<*e7>{?!", 49.5, exampleLongitude},
             Expected{"N0CALL-5>APRS:!a5L!!<*e7#  T overlay digit", 49.5, exampleLongitude},
             Expected{"N0CALL-5>APRS:!/!!!!!!!!>  T", 90.0, -180.0},
         }) {
        expectPosition(e);
    }
    expectDrop("N0CALL-5>APRS:=/5L!!<*e7>7P", "bad position");
    expectDrop("N0CALL-5>APRS:=/5L!!<*e}>7P[", "bad position");
}

TEST(PacketDecoderPositions, MicEAllLongitudeRangesAndHemispheres)
{
    for (const Expected& e : {
             // 10..99 degrees, North/West (the well-known example).
             Expected{"N0CALL>TYPS5P,WIDE1-1:`dYgoZO>/Mic-E test", 49.058333333, -72.029166667},
             // 0..9 degrees (sent as 190..199 with the +100 flag), minutes under 10.
             Expected{"N0CALL>SURQTU,WIDE1-1:`}(>l\x1c\x1c>/", 35.3575, -7.205666667},
             // 110..179 degrees, South/East.
             Expected{"N0CALL>SSU1U0,WIDE1-1:`O(:l\x1c\x1c>/", -33.858333333, 151.205},
             // 100..109 degrees (sent as 180..189), North/East.
             Expected{"N0CALL>URQRP0,WIDE1-1:`p:\x1cl\x1c\x1c>/", 52.2, 104.5},
             Expected{"N0CALL>QRS000,WIDE1-1:`I+\x1cl\x1c\x1c>/", -12.5, 45.25},
             // Near the origin: North, West, 0 degrees.
             Expected{"N0CALL>PPSPPP,WIDE1-1:`v+\x1cl\x1c\x1c>/", 0.5, -0.25},
             // Minutes 0 sent as 60 ("X").
             Expected{"N0CALL>TYPS5P:`dXgoZO>/", 49.058333333, -(72 + 0.75 / 60)},
             // An SSID on the destination is not part of the latitude.
             Expected{"N0CALL>TYPS5P-3:`dYgoZO>/", 49.058333333, -72.029166667},
         }) {
        expectPosition(e);
    }
}

TEST(PacketDecoderPositions, MicECurrentAndOldTypeBytes)
{
    for (const std::string_view type : {"`", "'", "\x1c", "\x1d"}) {
        const std::string packet = "N0CALL>TYPS5P:" + std::string(type) + "dYgoZO>/";
        expectPosition({packet, 49.058333333, -72.029166667});
    }
}

TEST(PacketDecoderPositions, MicEAmbiguityBlanksTheSameLongitudeDigits)
{
    expectPosition({"N0CALL>TYPSLZ:`dYgoZO>/", 49 + 3.5 / 60, -(72 + 1.5 / 60)});
    expectPosition({"N0CALL>TYPZLZ:`dYgoZO>/", 49 + 5.0 / 60, -(72 + 5.0 / 60)});
    expectDrop("N0CALL>TYLS5P:`dYgoZO>/", "bad position");
}

TEST(PacketDecoderPositions, MicERefusesBadDestinationsAndShortFields)
{
    expectDrop("N0CALL>TYPS5:`dYgoZO>/", "bad position");
    expectDrop("N0CALL>TYPA5P:`dYgoZO>/", "bad position");
    expectDrop("N0CALL>TYPS5P:`dYgoZO>", "bad position");
    expectDrop("N0CALL>TYPS5P:`\x10\x10\x10oZO>/", "bad position");
    expectDrop("N0CALL>TYPSPP:`\xffYgoZO>/", "bad position");  // 227 + 100 degrees
}

TEST(PacketDecoderPositions, NmeaRmcAndGgaWithChecksums)
{
    expectPosition({"N0CALL>GPS:$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A",
                    48 + 7.038 / 60, 11 + 31.0 / 60});
    expectPosition({"N0CALL>GPS:$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47",
                    48 + 7.038 / 60, 11 + 31.0 / 60});
    expectPosition({"N0CALL>GPS:$GPRMC,123519,A,3352.1200,S,15112.3000,W,0,0,230394,,", -33.868666667, -151.205});
    expectDrop("N0CALL>GPS:$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6B", "bad position");
    expectDrop("N0CALL>GPS:$GPRMC,123519,V,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W", "no position");
    expectDrop("N0CALL>GPS:$GPGGA,123519,,,,,0,00,,,M,,M,,", "no position");
    expectDrop("N0CALL>GPS:$GPRMC,123519,A,48x7.038,N,01131.000,E", "bad position");
    expectDrop("N0CALL>GPS:$GPGSV,3,1,11,03,03,111,00", "no position");
}

TEST(PacketDecoderPositions, NmeaGllWithAndWithoutTimeStatusAndChecksum)
{
    const double lat = 49 + 16.45 / 60;
    const double lon = -(123 + 11.12 / 60);
    expectOutcomes({
        {"N0CALL>GPS:$GPGLL,4916.45,N,12311.12,W,225444,A", "", lat, lon},
        {"N0CALL>GPS:$GPGLL,4916.45,N,12311.12,W,225444,A*31", "", lat, lon},
        {"N0CALL>GPS:$GNGLL,4916.45,N,12311.12,W,225444,A,A*42", "", lat, lon},
        {"N0CALL>GPS:$GPGLL,4916.45,N,12311.12,W*71", "", lat, lon},
        {"N0CALL>GPS:$GPGLL,4916.45,N,12311.12,W,225444", "", lat, lon},
        {"N0CALL>GPS:$GPGLL,3352.1200,S,15112.3000,E,093110,A*3C", "", -33.868666667, 151.205},
        {"N0CALL>GPS:$GPGLL,4916.45,N,12311.12,W,225444,A*32", "bad position"},
        {"N0CALL>GPS:$GPGLL,4916.45,N,12311.12,W,225444,V", "no position"},
        {"N0CALL>GPS:$GPGLL,,,,,225444,V", "no position"},
        {"N0CALL>GPS:$GPGLL,4916.45,N,12311.12", "bad position"},
        {"N0CALL>GPS:$GPGLL,4916.45,X,12311.12,W,225444,A", "bad position"},
    });
}

TEST(PacketDecoderPositions, OutOfRangePositionsAreDropped)
{
    expectDrop("N0CALL>APRS:!9903.50N/07201.75W-", "position out of range");
    expectDrop("N0CALL>APRS:!4903.50N/18201.75W-", "position out of range");
    expectDrop("N0CALL>APRS:!9000.01N/07201.75W-", "position out of range");
}

}  // namespace
}  // namespace ovelsk::aprs
