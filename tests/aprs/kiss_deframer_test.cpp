#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "aprs/kiss_deframer.h"
#include "ax25_test_frames.h"

namespace ovelsk::aprs {
namespace {

using ::testing::ElementsAre;
using namespace std::string_view_literals;
using testing::kissEncode;

struct Deframed {
    KissDeframer deframer;
    std::vector<std::string> payloads;
    std::vector<int> commands;

    void feed(std::string_view bytes) {
        deframer.feed(bytes, [this](const KissFrame& frame) {
            payloads.emplace_back(frame.payload);
            commands.push_back(frame.command);
        });
    }
};

TEST(KissDeframer, UnescapesFendAndFescInsideAFrame) {
    const std::string payload("a\xC0" "b\xDB" "c\xDB\xDC", 7);
    Deframed d;
    d.feed(kissEncode(payload));
    EXPECT_THAT(d.payloads, ElementsAre(payload));
    EXPECT_EQ(kissEncode(payload).find('\xC0', 1), kissEncode(payload).size() - 1);
}

TEST(KissDeframer, JoinsFramesSplitAcrossReads) {
    const std::string stream = kissEncode(std::string("first\xC0", 6)) + kissEncode("second", 1);
    Deframed bytewise;
    for (const char c : stream) {
        bytewise.feed(std::string_view(&c, 1));
    }
    Deframed splitInEscape;
    const auto escape = stream.find('\xDB');
    splitInEscape.feed(stream.substr(0, escape + 1));
    splitInEscape.feed(stream.substr(escape + 1));
    EXPECT_THAT(bytewise.payloads, ElementsAre(std::string("first\xC0", 6), "second"));
    EXPECT_THAT(bytewise.commands, ElementsAre(0x00, 0x10));
    EXPECT_EQ(splitInEscape.payloads, bytewise.payloads);
}

TEST(KissDeframer, SkipsNoiseBeforeTheFirstFrameAndRunsOfFends) {
    Deframed d;
    d.feed("noise before any frame");
    d.feed("\xC0\xC0\xC0" + kissEncode("one") + "\xC0\xC0" + kissEncode("two"));
    EXPECT_THAT(d.payloads, ElementsAre("one", "two"));
}

TEST(KissDeframer, DropsAFrameWithABrokenEscapeAndKeepsTheNext) {
    Deframed d;
    d.feed("\xC0\x00" "bad\xDB" "x\xC0"sv);  // FESC followed by neither TFEND nor TFESC
    d.feed("\xC0\x00" "cut\xDB\xC0"sv);      // FESC right before the frame end
    d.feed(kissEncode("good"));
    EXPECT_THAT(d.payloads, ElementsAre("good"));
    EXPECT_EQ(d.deframer.droppedFrames(), 2u);
}

TEST(KissDeframer, DropsOverLongFramesAndResumesAtTheNextFend) {
    const std::string largest(KissDeframer::kMaxFrameBytes - 1, 'x');  // plus the command byte
    const std::string tooLarge(KissDeframer::kMaxFrameBytes, 'y');
    Deframed d;
    d.feed(kissEncode(largest) + kissEncode(tooLarge) + kissEncode("after"));
    EXPECT_THAT(d.payloads, ElementsAre(largest, "after"));
    EXPECT_EQ(d.deframer.droppedFrames(), 1u);
}

TEST(KissDeframer, ResetForgetsTheUnfinishedFrame) {
    Deframed d;
    const std::string frame = kissEncode("half a frame");
    d.feed(frame.substr(0, 6));
    d.deframer.reset();
    d.feed(frame.substr(6));  // the rest, then the next whole frame
    d.feed(kissEncode("next"));
    EXPECT_THAT(d.payloads, ElementsAre("next"));
}

TEST(KissDeframer, ReadsPortAndFrameTypeFromTheCommandByte) {
    EXPECT_EQ((KissFrame{0x00, {}}.port()), 0);
    EXPECT_EQ((KissFrame{0x30, {}}.port()), 3);
    EXPECT_EQ((KissFrame{0xF0, {}}.port()), 15);
    EXPECT_TRUE((KissFrame{0x50, {}}.isData()));
    EXPECT_FALSE((KissFrame{0x01, {}}.isData()));  // TX delay
    EXPECT_FALSE((KissFrame{0x06, {}}.isData()));  // hardware
}

}  // namespace
}  // namespace ovelsk::aprs
