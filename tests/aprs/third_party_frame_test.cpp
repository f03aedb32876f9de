// The frame the gateway puts on the air for an Internet packet: its text, its
// AX.25 and KISS bytes, and the way back through our own KISS and AX.25 readers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "aprs/ax25_frame.h"
#include "aprs/kiss_deframer.h"
#include "aprs/kiss_frame.h"
#include "aprs/third_party_frame.h"

namespace ovelsk::aprs {
namespace {

std::string bytes(std::initializer_list<unsigned> values) {
    std::string out;
    for (const unsigned v : values) out.push_back(static_cast<char>(v));
    return out;
}

// What a TNC would hand back to a client listening to its own frame.
std::vector<std::string> readBack(std::string_view kiss) {
    std::vector<std::string> packets;
    KissDeframer deframer;
    deframer.feed(kiss, [&](const KissFrame& frame) {
        if (const auto text = ax25UiFrameToTnc2(frame.payload)) packets.push_back(*text);
    });
    return packets;
}

TEST(ThirdPartyFrame, AWorkedExampleDownToTheKissBytes) {
    const auto inner = splitTnc2("K0ABC-9>APRS,TCPIP*,qAC,T2TEST:!4903.50N/07201.75W-");
    ASSERT_TRUE(inner);
    const std::string text = thirdPartyFrameText("N0TEST", "WIDE1-1", thirdPartyInformation("N0TEST", *inner));
    EXPECT_EQ(text, "N0TEST>APZOVL,WIDE1-1:}K0ABC-9>APRS,TCPIP,N0TEST*:!4903.50N/07201.75W-");

    const auto frame = tnc2ToAx25UiFrame(text);
    ASSERT_TRUE(frame);
    const std::string information = "}K0ABC-9>APRS,TCPIP,N0TEST*:!4903.50N/07201.75W-";
    // Worked by hand: each character's code shifted left one bit, blanks (0x20)
    // padding to six; the SSID byte is 0x60 (reserved bits) | SSID << 1,
    // | 0x80 on the destination (a command), | 0x01 on the last address.
    const std::string expected =
        bytes({0xC0, 0x00,                                     // FEND, data frame for port 0
               0x82, 0xA0, 0xB4, 0x9E, 0xAC, 0x98, 0xE0,       // A P Z O V L, SSID 0, command
               0x9C, 0x60, 0xA8, 0x8A, 0xA6, 0xA8, 0x60,       // N 0 T E S T, SSID 0
               0xAE, 0x92, 0x88, 0x8A, 0x62, 0x40, 0x63,       // W I D E 1 blank, SSID 1, last, not repeated
               0x03, 0xF0}) +                                  // UI, no layer 3
        information + bytes({0xC0});
    EXPECT_EQ(kissDataFrame(0, *frame), expected);
    EXPECT_EQ(readBack(expected), std::vector<std::string>{text});
}

TEST(ThirdPartyFrame, KissEscapesFendAndFescEverywhereThePortByteIncluded) {
    // Port 12 makes the command byte C0 itself.
    EXPECT_EQ(kissDataFrame(12, "a\xC0" "b\xDB" "c"), "\xC0\xDB\xDC" "a\xDB\xDC" "b\xDB\xDD" "c\xC0");
    const std::string text = "N0TEST>APZOVL:}K0ABC>APRS,TCPIP,N0TEST*:>\xC0\xDB";
    const auto frame = tnc2ToAx25UiFrame(text);
    ASSERT_TRUE(frame);
    EXPECT_EQ(readBack(kissDataFrame(12, *frame)), std::vector<std::string>{text});
}

TEST(ThirdPartyFrame, EncodesEveryAx25AddressFormAndRefusesTheRest) {
    const std::string longest(kMaxInformationBytes, 'x');
    for (const std::string& text : std::vector<std::string>{"N0TEST-15>APZOVL,WIDE2-2:>x", "N0TEST>APZOVL,D1,D2*,D3:>x",
                                   "A>B,D1,D2,D3,D4,D5,D6,D7,D8:>x", "N0TEST>APZOVL:" + longest}) {
        const auto frame = tnc2ToAx25UiFrame(text);
        ASSERT_TRUE(frame) << text;
        EXPECT_EQ(ax25UiFrameToTnc2(*frame), text);
    }
    EXPECT_EQ(ax25UiFrameToTnc2(*tnc2ToAx25UiFrame("N0TEST-0>APZOVL:>x")), "N0TEST>APZOVL:>x");
    for (const std::string& text : std::vector<std::string>{"n0test>APZOVL:>x", "N0TEST7>APZOVL:>x", "N0TEST-16>APZOVL:>x",
                                   "N0TEST-01>APZOVL:>x", "N0TEST->APZOVL:>x", "N0TEST>APZOVL,qAC:>x",
                                   "N0TEST*>APZOVL:>x", "A>B,D1,D2,D3,D4,D5,D6,D7,D8,D9:>x",
                                   "N0TEST>APZOVL:" + longest + "x", "N0TEST APZOVL:>x"}) {
        EXPECT_FALSE(tnc2ToAx25UiFrame(text)) << text;
    }
}

}  // namespace
}  // namespace ovelsk::aprs
