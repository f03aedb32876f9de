#include "feeds/line_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ovelsk::aprs {
namespace {

std::vector<std::string> drain(LineReader& reader) {
    std::vector<std::string> lines;
    while (const auto line = reader.nextLine()) lines.emplace_back(*line);
    return lines;
}

TEST(ReplayLineReader, KeepsAnUnfinishedLineUntilItsEndArrives) {
    LineReader reader;
    reader.feed("first\r\nsec");
    EXPECT_EQ(drain(reader), std::vector<std::string>{"first"});
    reader.feed("ond\n\nthi");
    EXPECT_EQ(drain(reader), (std::vector<std::string>{"second", ""}));
    reader.feed("rd");
    EXPECT_EQ(drain(reader), std::vector<std::string>{});
    EXPECT_EQ(reader.finish(), "third");
    EXPECT_EQ(reader.finish(), std::nullopt);
}

TEST(ReplayLineReader, KeepsBytesAsTheyAre) {
    LineReader reader;
    const std::string bytes("a\0b\xff\xfe\r", 6);
    reader.feed(bytes + "\n");
    EXPECT_EQ(reader.nextLine(), std::string_view(bytes.data(), 5));
}

TEST(ReplayLineReader, DropsALineOverTheCapWholeWithoutHoldingIt) {
    LineReader reader(8);
    reader.feed("short\n0123456789");
    EXPECT_EQ(reader.nextLine(), "short");
    EXPECT_EQ(reader.nextLine(), std::nullopt);
    reader.feed("abcdef");  // still the same overlong line
    EXPECT_EQ(reader.nextLine(), std::nullopt);
    reader.feed("ghi\nnext\n123456789\n");
    EXPECT_EQ(drain(reader), std::vector<std::string>{"next"});
    EXPECT_EQ(reader.overlongLines(), 2u);
    reader.feed("12345678");  // exactly the cap is fine
    EXPECT_EQ(reader.finish(), "12345678");
}

TEST(ReplayLineReader, ResetForgetsEverything) {
    LineReader reader(4);
    reader.feed("abcdefgh");
    EXPECT_EQ(reader.nextLine(), std::nullopt);
    reader.reset();
    reader.feed("ok\n");
    EXPECT_EQ(reader.nextLine(), "ok");
    EXPECT_EQ(reader.overlongLines(), 0u);
}

}  // namespace
}  // namespace ovelsk::aprs
