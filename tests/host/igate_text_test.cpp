#include "host/igate_text.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace ovelsk {
namespace {

constexpr std::string_view kStart = ";Ovelsk IGATE Section - Start";
constexpr std::string_view kEnd = ";Ovelsk IGATE Section - End";

// A candidate row as the list shows it: distance, callsign, last heard via RF, bearing.
std::string row(std::string_view callsign) {
    return "12.5\t" + std::string(callsign) + "\t\tnot heard via RF\t270";
}

std::string crlfLines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (const auto line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

TEST(IgateText, WritesTheCallsignsOfTheRowsAfterTheHeaderInListOrder) {
    const auto before = crlfLines({"[GENERAL]", "[INET_TO_RF]", "W1AW=ALL", "[RF_TO_INET]"});
    EXPECT_EQ(rewriteIgateText(before, {row("G4ABC-9"), row("DL1XYZ")}),
              crlfLines({"[GENERAL]", "[INET_TO_RF]", kStart, "G4ABC-9=ALL", "DL1XYZ=ALL", kEnd, "W1AW=ALL",
                         "[RF_TO_INET]"}));
}

TEST(IgateText, ReplacesThePreviousBlockAndKeepsEverythingAroundIt) {
    const auto before = crlfLines({"[INET_TO_RF]", kStart, "OLD1=ALL", "OLD2=ALL", kEnd, "W1AW=ALL"});
    EXPECT_EQ(rewriteIgateText(before, {row("NEW1")}),
              crlfLines({"[INET_TO_RF]", kStart, "NEW1=ALL", kEnd, "W1AW=ALL"}));
}

TEST(IgateText, RewritingItsOwnResultChangesNothing) {
    const auto once = rewriteIgateText(crlfLines({"x", "[INET_TO_RF]", "y"}), {row("A1"), row("B2")});
    EXPECT_EQ(rewriteIgateText(once, {row("A1"), row("B2")}), once);
}

TEST(IgateText, FileWithoutHeaderStaysAsItIsAndLosesAnOldBlock) {
    const std::string plain = "[GENERAL]\nCALL=N0CALL";
    EXPECT_EQ(rewriteIgateText(plain, {row("G4ABC")}), plain);
    EXPECT_EQ(rewriteIgateText(crlfLines({"a", kStart, "OLD=ALL", kEnd, "b"}), {row("G4ABC")}), crlfLines({"a", "b"}));
}

TEST(IgateText, HeaderMayHaveSpacesAroundItButNotTabsOrOtherCase) {
    EXPECT_EQ(rewriteIgateText(crlfLines({"  [INET_TO_RF]   "}), {row("A1")}),
              crlfLines({"  [INET_TO_RF]   ", kStart, "A1=ALL", kEnd}));
    for (const std::string_view notHeader : {"\t[INET_TO_RF]", "[INET_TO_RF]\t", "[inet_to_rf]", "[INET_TO_RF]x"}) {
        const auto text = crlfLines({notHeader});
        EXPECT_EQ(rewriteIgateText(text, {row("A1")}), text) << notHeader;
    }
}

TEST(IgateText, EveryHeaderGetsItsOwnBlock) {
    const auto before = crlfLines({"[INET_TO_RF]", "a", "[INET_TO_RF]"});
    EXPECT_EQ(rewriteIgateText(before, {row("A1")}),
              crlfLines({"[INET_TO_RF]", kStart, "A1=ALL", kEnd, "a", "[INET_TO_RF]", kStart, "A1=ALL", kEnd}));
    // ...and both come back the same on the next rewrite.
    const auto after = rewriteIgateText(before, {row("A1")});
    EXPECT_EQ(rewriteIgateText(after, {row("B2")}),
              crlfLines({"[INET_TO_RF]", kStart, "B2=ALL", kEnd, "a", "[INET_TO_RF]", kStart, "B2=ALL", kEnd}));
}

TEST(IgateText, EndMarkerWithoutStartMarkerIsAnOrdinaryLine) {
    const auto text = crlfLines({"a", kEnd, "b"});
    EXPECT_EQ(rewriteIgateText(text, {}), text);
}

TEST(IgateText, EmptyListWritesTheTwoMarkers) {
    EXPECT_EQ(rewriteIgateText(crlfLines({"[INET_TO_RF]", kStart, "OLD=ALL", kEnd}), {}),
              crlfLines({"[INET_TO_RF]", kStart, kEnd}));
}

TEST(IgateText, OrphanStartMarkerLosesOnlyItselfAndTheCallsignsAfterIt) {
    const auto before = crlfLines({"[INET_TO_RF]", kStart, "OLD1=ALL", "OLD2-7=ALL", "W1AW = ALL", "; user note",
                                   "[RF_TO_INET]", "K1ABC=ALL", "[INET_TO_RF]"});
    EXPECT_EQ(rewriteIgateText(before, {row("NEW1")}),
              crlfLines({"[INET_TO_RF]", kStart, "NEW1=ALL", kEnd, "W1AW = ALL", "; user note", "[RF_TO_INET]",
                         "K1ABC=ALL", "[INET_TO_RF]", kStart, "NEW1=ALL", kEnd}));
}

TEST(IgateText, OrphanStartMarkerBeforeACompleteBlockKeepsTheLinesBetween) {
    const auto before = crlfLines({kStart, "OLD=ALL", "keep me", "[INET_TO_RF]", kStart, "OLD=ALL", kEnd, "tail"});
    EXPECT_EQ(rewriteIgateText(before, {row("NEW1")}),
              crlfLines({"keep me", "[INET_TO_RF]", kStart, "NEW1=ALL", kEnd, "tail"}));
}

TEST(IgateText, HeaderFoundInsideAnOldBlockIsKept) {
    const auto before = crlfLines({kStart, "OLD=ALL", "[INET_TO_RF]", "OLD2=ALL", kEnd, "tail"});
    const auto after = rewriteIgateText(before, {row("NEW1")});
    EXPECT_EQ(after, crlfLines({"[INET_TO_RF]", kStart, "NEW1=ALL", kEnd, "tail"}));
    EXPECT_EQ(rewriteIgateText(after, {row("NEW1")}), after);
}

TEST(IgateText, LinesEndAtCrLfLfLoneCrOrCrCrLfAndAreWrittenWithCrLf) {
    EXPECT_EQ(rewriteIgateText("[INET_TO_RF]\na\r\nb\rc\r\r\nlast", {}),
              crlfLines({"[INET_TO_RF]", kStart, kEnd, "a", "b", "c", "last"}));
    EXPECT_EQ(rewriteIgateText("[INET_TO_RF]", {row("A1")}), crlfLines({"[INET_TO_RF]", kStart, "A1=ALL", kEnd}));
    // A blank line stays a line; nothing after the last line ending is one.
    EXPECT_EQ(rewriteIgateText("[INET_TO_RF]\n\nb\r\rc\n", {}), crlfLines({"[INET_TO_RF]", kStart, kEnd, "", "b", "", "c"}));
    EXPECT_EQ(rewriteIgateText("", {row("A1")}), "");
}

TEST(IgateText, LineBytesAreCopiedAsTheyAre) {
    // Latin-1 and a zero byte are not line endings and not text to fix.
    const std::string odd("a\tb\xE9\xFF\0z", 8);
    EXPECT_EQ(rewriteIgateText("[INET_TO_RF]\n" + odd + "\n", {}), crlfLines({"[INET_TO_RF]", kStart, kEnd, odd}));
    // A marker with a trailing blank is not a marker.
    const auto almost = crlfLines({std::string(kStart) + " ", "X=ALL"});
    EXPECT_EQ(rewriteIgateText(almost, {}), almost);
}

TEST(IgateText, CallsignIsTheSecondTabSeparatedField) {
    EXPECT_EQ(rewriteIgateText("[INET_TO_RF]\n", {"1.0\tLONGCALL-15\tnot heard via RF\t0", "no tabs", "3.0\t\tx",
                                                  "4.0\tEND"}),
              crlfLines({"[INET_TO_RF]", kStart, "LONGCALL-15=ALL", "END=ALL", kEnd}));
}

}  // namespace
}  // namespace ovelsk
