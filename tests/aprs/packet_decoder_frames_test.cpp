// The frame around the position: header and path, digipeater marks, third-party
// unwrapping, callsign validation, and what is dropped and why.

#include "aprs/packet_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace ovelsk::aprs {
namespace {

DecodedPacket decoded(std::string_view packet)
{
    DecodeResult result = decodePacket(packet);
    EXPECT_TRUE(result.packet.has_value()) << packet << " dropped: " << dropReasonLabel(result.dropReason);
    return result.packet.value_or(DecodedPacket{});
}

std::string dropReason(std::string_view packet)
{
    const DecodeResult result = decodePacket(packet);
    EXPECT_FALSE(result.packet.has_value()) << packet;
    return std::string(dropReasonLabel(result.dropReason));
}

TEST(PacketDecoderFrames, CallsignAndPathComeFromTheHeader)
{
    const DecodedPacket packet = decoded("N0CALL-9>APRS,WIDE1-1,WIDE2-1:!4903.50N/07201.75W-Test");
    EXPECT_EQ(packet.callsign, "N0CALL-9");
    EXPECT_EQ(packet.path, "APRS,WIDE1-1,WIDE2-1");
    EXPECT_FALSE(packet.viaDigipeater);
    EXPECT_FALSE(packet.thirdParty);
    EXPECT_EQ(decoded("N0CALL>APRS:!4903.50N/07201.75W-").path, "APRS");
}

TEST(PacketDecoderFrames, StarBeforeTheInternetPartMeansADigipeaterRepeatedIt)
{
    EXPECT_TRUE(decoded("N0CALL-7>APRS,N1DIGI*,WIDE2-1:!4903.50N/07201.75W>").viaDigipeater);
    EXPECT_TRUE(decoded("N0CALL-8>APRS,N1DIGI,WIDE1*,WIDE2-1:!4903.50N/07201.75W>").viaDigipeater);
    EXPECT_TRUE(decoded("N0CALL>APRS,WIDE1*,qAR,N1GATE:!4903.50N/07201.75W>").viaDigipeater);
    // Stars after TCPIP or a q-construct are the Internet's, not a radio digipeater.
    EXPECT_FALSE(decoded("N0CALL>APRS,TCPIP*,qAC,T2TEST:!4903.50N/07201.75W>").viaDigipeater);
    EXPECT_FALSE(decoded("N0CALL>APRS,qAR,N1GATE*:!4903.50N/07201.75W>").viaDigipeater);
    // A star on the destination is not a digipeater mark.
    EXPECT_FALSE(decoded("N0CALL>APRS*:!4903.50N/07201.75W>").viaDigipeater);
}

TEST(PacketDecoderFrames, ThirdPartyFrameDeliversTheInnerSenderAndPath)
{
    const DecodedPacket tcpip = decoded("N1GATE>APRS,WIDE2-1:}N0CALL>APRS,TCPIP,N1GATE*:!4903.50N/07201.75W-inner");
    EXPECT_EQ(tcpip.callsign, "N0CALL");
    EXPECT_EQ(tcpip.path, "APRS,TCPIP,N1GATE*");
    EXPECT_TRUE(tcpip.thirdParty);
    EXPECT_FALSE(tcpip.viaDigipeater);
    EXPECT_NEAR(tcpip.position.latitude, 49.058333, 1e-6);

    const DecodedPacket micE = decoded("N1GATE-10>APDW16,WIDE1-1*:}W1ABC-5>TYPS5P,WIDE1*,qAR,N1GATE-10:`dYgoZO>/");
    EXPECT_EQ(micE.callsign, "W1ABC-5");
    EXPECT_EQ(micE.path, "TYPS5P,WIDE1*,qAR,N1GATE-10");
    EXPECT_TRUE(micE.viaDigipeater);
    EXPECT_NEAR(micE.position.longitude, -72.029167, 1e-6);
}

TEST(PacketDecoderFrames, ThirdPartyFrameIsJudgedByItsInnerPacket)
{
    EXPECT_EQ(dropReason("N1GATE>APRS:}N0CALL>APRS,TCPIP,N1GATE*:>status"), "status");
    EXPECT_EQ(dropReason("N1GATE>APRS:}N0CALL=X>APRS,TCPIP:!4903.50N/07201.75W-"), "bad callsign");
    EXPECT_EQ(dropReason("N1GATE>APRS:}garbage without header"), "malformed header");
    EXPECT_EQ(dropReason("N1GATE>APRS:}"), "malformed header");
}

TEST(PacketDecoderFrames, NestedThirdPartyGivesTheInnermostSenderUpToFourLevels)
{
    const std::string position = ":!4903.50N/07201.75W-";
    const std::string level1 = "N1GATE>APRS,WIDE2-1:}N2GATE>APRS,TCPIP,N1GATE*";
    const std::string level2 = level1 + ":}N3GATE>APRS,qAR,N2GATE";
    const std::string level3 = level2 + ":}N4GATE>APRS,TCPIP*";
    const std::string level4 = level3 + ":}N0CALL-9>APRS,WIDE1-1";
    struct Nested {
        std::string packet;
        std::string callsign;  // empty when it must be dropped
        std::string dropReason;
    };
    for (const Nested& n : {
             Nested{level1 + position, "N2GATE", ""},
             Nested{level2 + position, "N3GATE", ""},
             Nested{level3 + position, "N4GATE", ""},
             Nested{level4 + position, "N0CALL-9", ""},
             Nested{level4 + ":}N5GATE>APRS" + position, "", "third-party nested too deep"},
             Nested{level2 + ":}N0CALL=X>APRS" + position, "", "bad callsign"},
             Nested{level2 + ":}no header", "", "malformed header"},
             Nested{level3 + ":>status", "", "status"},
         }) {
        SCOPED_TRACE(n.packet);
        const DecodeResult result = decodePacket(n.packet);
        if (n.callsign.empty()) {
            EXPECT_FALSE(result.packet.has_value());
            EXPECT_EQ(dropReasonLabel(result.dropReason), n.dropReason);
            continue;
        }
        ASSERT_TRUE(result.packet.has_value()) << dropReasonLabel(result.dropReason);
        EXPECT_EQ(result.packet->callsign, n.callsign);
        // The route stays that of the outer frame, however deep the nesting.
        EXPECT_EQ(result.packet->path, "APRS,TCPIP,N1GATE*");
        EXPECT_TRUE(result.packet->thirdParty);
        EXPECT_FALSE(result.packet->viaDigipeater);
        EXPECT_NEAR(result.packet->position.latitude, 49.058333, 1e-6);
    }
}

TEST(PacketDecoderFrames, OnlyValidSourceCallsignsAreDelivered)
{
    for (const std::string_view good :
         {"N0CALL", "N0CALL-15", "A", "DL1ABC-10", "n0call", "123456789", "W1AW-A1", "ABCDEFGHI-10"}) {
        EXPECT_TRUE(isValidSourceCallsign(good)) << good;
    }
    for (const std::string_view bad :
         {"", "N0CALL-100", "N0CALL=ALL", "[INET]", "N0 CALL", "N0CALL\r\n", "N0CALL*", "N0CÄLL", "N0CALL/P", "-",
          "---------", "N0CALL-", "-9", "N0-CALL-1", "N0CALL--1", "ABCDEFGHIJ"}) {
        EXPECT_FALSE(isValidSourceCallsign(bad)) << bad;
    }
    EXPECT_EQ(dropReason("--->APRS:!4903.50N/07201.75W-"), "bad callsign");
    EXPECT_EQ(dropReason("N0CALL=ALL>APRS:!4903.50N/07201.75W-"), "bad callsign");
    EXPECT_EQ(dropReason("[INET_TO_RF]>APRS:!4903.50N/07201.75W-"), "bad callsign");
    EXPECT_EQ(dropReason(">APRS:!4903.50N/07201.75W-"), "bad callsign");
}

TEST(PacketDecoderFrames, MalformedHeadersAreDropped)
{
    for (const std::string_view packet : {
             "", "no header at all", "N0CALL:!4903.50N/07201.75W-", "N0CALL>:!4903.50N/07201.75W-",
             "N0CALL>APRS,:!4903.50N/07201.75W-", "N0CALL>APRS,,WIDE1-1:!4903.50N/07201.75W-",
             "N0CALL>APRS,WI DE:!4903.50N/07201.75W-", "N0CALL>APRS,WIDE**:!4903.50N/07201.75W-",
             "N0CALL>APRS,WI*DE:!4903.50N/07201.75W-", "N0CALL>AP\x01RS:!4903.50N/07201.75W-",
             "N0CALL>APRS!4903.50N/07201.75W-",
         }) {
        EXPECT_EQ(dropReason(packet), "malformed header") << packet;
    }
}

TEST(PacketDecoderFrames, PacketsThatAreNotTheSendersPositionGiveAReason)
{
    EXPECT_EQ(dropReason("N0CALL>APRS:;OBJ      *092345z4903.50N/07201.75W-obj"), "object");
    EXPECT_EQ(dropReason("N0CALL>APRS:)AID #2!4903.50N/07201.75WA"), "item");
    EXPECT_EQ(dropReason("N0CALL>APRS::N1ABC    :hello{1"), "message");
    EXPECT_EQ(dropReason("N0CALL>APRS:>status only"), "status");
    EXPECT_EQ(dropReason("N0CALL>APRS:T#005,199,000,255,073,123,01101001"), "telemetry");
    EXPECT_EQ(dropReason("N0CALL>APRS:<IGATE,MSG_CNT=1"), "no position");
    EXPECT_EQ(dropReason("N0CALL>APRS:"), "no position");
    EXPECT_EQ(dropReason("N0CALL>APRS:!"), "bad position");
    EXPECT_EQ(dropReason("N0CALL>APRS:!4903.50X/07201.75W-"), "bad position");
    EXPECT_EQ(dropReason("N0CALL>APRS:!4963.50N/07201.75W-"), "bad position");
    EXPECT_EQ(dropReason("N0CALL>APRS:!4903.50N/07260.75W-"), "bad position");
    EXPECT_EQ(dropReason("N0CALL>APRS:@092345z"), "bad position");
    EXPECT_EQ(dropReason("N0CALL>APRS:!4903.50N/07201.75"), "bad position");
}

}  // namespace
}  // namespace ovelsk::aprs
