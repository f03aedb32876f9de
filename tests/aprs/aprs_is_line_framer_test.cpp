#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "aprs/line_framer.h"

namespace ovelsk::aprs {
namespace {

using ::testing::ElementsAre;

struct Framed {
    LineFramer framer;
    std::vector<std::string> lines;

    void feed(std::string_view bytes) {
        framer.feed(bytes, [this](std::string_view line) { lines.emplace_back(line); });
    }
};

TEST(AprsIsLineFramer, TakesCrLfAndLfEndingsAndKeepsEveryOtherByte) {
    Framed f;
    f.feed("A>B:one\r\nA>B:two\nA>B: trailing blank \r\n");
    f.feed(std::string("A>B:\xC0\xFF\x01 bytes\r\n", 15));
    f.feed("A>B:inner\rcarriage return\r\n");
    EXPECT_THAT(f.lines, ElementsAre("A>B:one", "A>B:two", "A>B: trailing blank ", std::string("A>B:\xC0\xFF\x01 bytes", 13),
                                     "A>B:inner\rcarriage return"));
}

TEST(AprsIsLineFramer, JoinsLinesSplitAcrossReadsEvenOneByteAtATime) {
    const std::string stream = "# server 1.0\r\nN0CALL>APRS:!4903.50N/07201.75W-\r\n\r\nW1AW>APRS:>hi\n";
    Framed whole;
    whole.feed(stream);
    Framed bytewise;
    for (const char c : stream) {
        bytewise.feed(std::string_view(&c, 1));
    }
    Framed splitInsideCrLf;
    splitInsideCrLf.feed(stream.substr(0, 13));
    splitInsideCrLf.feed(stream.substr(13));
    EXPECT_THAT(whole.lines, ElementsAre("# server 1.0", "N0CALL>APRS:!4903.50N/07201.75W-", "W1AW>APRS:>hi"));
    EXPECT_EQ(bytewise.lines, whole.lines);
    EXPECT_EQ(splitInsideCrLf.lines, whole.lines);
}

TEST(AprsIsLineFramer, DropsLinesOverTheCapAndResumesAtTheNextLine) {
    const std::string longest(LineFramer::kMaxLineBytes, 'x');
    const std::string tooLong(LineFramer::kMaxLineBytes + 1, 'y');
    Framed f;
    f.feed(longest + "\r\n" + tooLong + "\r\nafter\r\n");
    // The same over-long line arriving in pieces, the cap crossed in the middle.
    f.feed(tooLong.substr(0, 300));
    f.feed(tooLong.substr(300) + "zzzz");
    f.feed("zzzz\r\nnext\n");
    EXPECT_THAT(f.lines, ElementsAre(longest, "after", "next"));
    EXPECT_EQ(f.framer.droppedLines(), 2u);
}

TEST(AprsIsLineFramer, ResetForgetsTheUnfinishedLine) {
    Framed f;
    f.feed("N0CALL>APRS:!49");
    f.framer.reset();
    f.feed("W1AW>APRS:>whole\r\n");
    f.feed(std::string(LineFramer::kMaxLineBytes + 10, 'x'));
    f.framer.reset();
    f.feed("W1AW>APRS:>after an over-long start\r\n");
    EXPECT_THAT(f.lines, ElementsAre("W1AW>APRS:>whole", "W1AW>APRS:>after an over-long start"));
}

}  // namespace
}  // namespace ovelsk::aprs
