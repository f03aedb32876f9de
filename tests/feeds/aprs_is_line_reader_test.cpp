// The line reader at the APRS-IS cap: a line exactly at the cap survives being
// cut between its CR and LF, and nothing longer gets through, not even as the
// last line of a source.

#include <gtest/gtest.h>

#include <string>

#include "aprs/aprs_is_login.h"
#include "feeds/line_reader.h"

namespace ovelsk::aprs {
namespace {

TEST(AprsIsLineReader, KeepsALineAtTheCapWhoseLineEndIsSplit) {
    LineReader reader(kAprsIsMaxLineBytes);
    const std::string longest(kAprsIsMaxLineBytes, 'x');
    reader.feed(longest + "\r");
    EXPECT_EQ(reader.nextLine(), std::nullopt);
    reader.feed("\nnext\r\n");
    EXPECT_EQ(reader.nextLine(), longest);
    EXPECT_EQ(reader.nextLine(), "next");
    EXPECT_EQ(reader.overlongLines(), 0u);
}

TEST(AprsIsLineReader, DropsALineOneByteOverTheCapWhereverItEnds) {
    LineReader reader(kAprsIsMaxLineBytes);
    const std::string tooLong(kAprsIsMaxLineBytes + 1, 'y');
    reader.feed(tooLong);
    EXPECT_EQ(reader.nextLine(), std::nullopt);
    reader.feed("\r\nafter\n");
    EXPECT_EQ(reader.nextLine(), "after");
    reader.feed(tooLong);
    EXPECT_EQ(reader.finish(), std::nullopt);
    EXPECT_EQ(reader.overlongLines(), 2u);
}

}  // namespace
}  // namespace ovelsk::aprs
