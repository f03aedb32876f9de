#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "aprs/ax25_frame.h"
#include "ax25_test_frames.h"

namespace ovelsk::aprs {
namespace {

using testing::Ax25Station;
using testing::ax25Frame;

TEST(Ax25UiFrame, WritesCallsignsWithSsidsAndLeavesSsidZeroOut) {
    EXPECT_EQ(ax25UiFrameToTnc2(ax25Frame({"N0CALL", 9}, {"APRS"}, {{"WIDE1", 1}, {"WIDE2", 15}}, "!4903.50N/07201.75W-")),
              "N0CALL-9>APRS,WIDE1-1,WIDE2-15:!4903.50N/07201.75W-");
    EXPECT_EQ(ax25UiFrameToTnc2(ax25Frame({"W1AW"}, {"APDW16", 2}, {}, ">status")), "W1AW>APDW16-2:>status");
}

TEST(Ax25UiFrame, MarksOnlyTheLastRepeatedDigipeater) {
    const std::vector<Ax25Station> digis = {{"N1DIGI", 0, true}, {"WIDE1", 0, true}, {"WIDE2", 1, false}};
    EXPECT_EQ(ax25UiFrameToTnc2(ax25Frame({"N0CALL", 8}, {"APRS"}, digis, ">x")), "N0CALL-8>APRS,N1DIGI,WIDE1*,WIDE2-1:>x");
    const std::vector<Ax25Station> none = {{"WIDE1", 1}, {"WIDE2", 1}};
    EXPECT_EQ(ax25UiFrameToTnc2(ax25Frame({"N0CALL"}, {"APRS"}, none, ">x")), "N0CALL>APRS,WIDE1-1,WIDE2-1:>x");
}

TEST(Ax25UiFrame, TakesEightDigipeatersButNotNine) {
    std::vector<Ax25Station> digis;
    std::string expectedPath;
    for (int i = 1; i <= 8; ++i) {
        digis.push_back({"DIGI" + std::to_string(i), i, i == 8});
        expectedPath += ",DIGI" + std::to_string(i) + "-" + std::to_string(i);
    }
    EXPECT_EQ(ax25UiFrameToTnc2(ax25Frame({"N0CALL"}, {"APRS"}, digis, ">x")), "N0CALL>APRS" + expectedPath + "*:>x");
    digis.push_back({"DIGI9"});
    EXPECT_EQ(ax25UiFrameToTnc2(ax25Frame({"N0CALL"}, {"APRS"}, digis, ">x")), std::nullopt);
}

TEST(Ax25UiFrame, PassesInformationBytesThroughUntouched) {
    const std::string information("`dYg\x1c\x1cO>/\xC0\xDB\r\n\0end", 17);
    EXPECT_EQ(ax25UiFrameToTnc2(ax25Frame({"N0CALL", 2}, {"TYPS5P"}, {}, information)), "N0CALL-2>TYPS5P:" + information);
    EXPECT_EQ(ax25UiFrameToTnc2(ax25Frame({"N0CALL"}, {"APRS"}, {}, "")), "N0CALL>APRS:");
}

TEST(Ax25UiFrame, IgnoresFramesThatAreNotAprsUiFrames) {
    EXPECT_EQ(ax25UiFrameToTnc2(ax25Frame({"N0CALL"}, {"APRS"}, {}, ">x", 0x00)), std::nullopt);        // I frame
    EXPECT_EQ(ax25UiFrameToTnc2(ax25Frame({"N0CALL"}, {"APRS"}, {}, ">x", 0x3F)), std::nullopt);        // SABM
    EXPECT_EQ(ax25UiFrameToTnc2(ax25Frame({"N0CALL"}, {"APRS"}, {}, ">x", 0x03, 0xCF)), std::nullopt);  // NET/ROM
    EXPECT_NE(ax25UiFrameToTnc2(ax25Frame({"N0CALL"}, {"APRS"}, {}, ">x", 0x13)), std::nullopt);        // UI with poll bit
}

TEST(Ax25UiFrame, RejectsMalformedAddressFields) {
    const std::string good = ax25Frame({"N0CALL"}, {"APRS"}, {}, ">x");
    EXPECT_EQ(ax25UiFrameToTnc2(good.substr(0, 15)), std::nullopt);  // cut inside control and PID
    EXPECT_EQ(ax25UiFrameToTnc2(good.substr(0, 10)), std::nullopt);  // cut inside an address
    std::string noEnd = good;
    noEnd[13] = static_cast<char>(noEnd[13] & ~0x01);  // no address is marked last
    EXPECT_EQ(ax25UiFrameToTnc2(noEnd), std::nullopt);
    std::string onlyOne = good;
    onlyOne[6] = static_cast<char>(onlyOne[6] | 0x01);  // the destination marked last
    EXPECT_EQ(ax25UiFrameToTnc2(onlyOne), std::nullopt);
    // Characters a TNC2 header cannot carry, or a blank inside a callsign.
    EXPECT_EQ(ax25UiFrameToTnc2(ax25Frame({"N0:AL"}, {"APRS"}, {}, ">x")), std::nullopt);
    EXPECT_EQ(ax25UiFrameToTnc2(ax25Frame({"N0CALL"}, {"AP>RS"}, {}, ">x")), std::nullopt);
    EXPECT_EQ(ax25UiFrameToTnc2(ax25Frame({"N0CALL"}, {"APRS"}, {{"WI,DE"}}, ">x")), std::nullopt);
    EXPECT_EQ(ax25UiFrameToTnc2(ax25Frame({"N0 CAL"}, {"APRS"}, {}, ">x")), std::nullopt);
    EXPECT_EQ(ax25UiFrameToTnc2(ax25Frame({""}, {"APRS"}, {}, ">x")), std::nullopt);
}

}  // namespace
}  // namespace ovelsk::aprs
