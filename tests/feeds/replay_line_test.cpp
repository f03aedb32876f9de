#include "feeds/replay_line.h"

#include <gtest/gtest.h>

namespace ovelsk::aprs {
namespace {

using namespace std::chrono;

TEST(ReplayLine, ReadsTimeChannelAndPacketToTheLineEnd) {
    const auto parsed = parseReplayLine("2026-12-08T10:00:00Z RF3 N0CALL>APRS,WIDE1-1:>on air  ");
    ASSERT_EQ(parsed.kind, ReplayLineKind::Packet);
    EXPECT_EQ(parsed.line.time, sys_days{2026y / December / 8} + 10h);
    EXPECT_EQ(parsed.line.sourceNumber, 3);
    EXPECT_EQ(parsed.line.packet, "N0CALL>APRS,WIDE1-1:>on air  ");

    const auto internet = parseReplayLine("2026-12-08T10:00:00.25Z IS N0CALL>APRS,TCPIP*:!x");
    ASSERT_EQ(internet.kind, ReplayLineKind::Packet);
    EXPECT_EQ(internet.line.sourceNumber, 100);
    EXPECT_EQ(internet.line.time, sys_days{2026y / December / 8} + 10h + 250ms);
}

TEST(ReplayLine, SkipsBlankAndCommentLines) {
    for (const char* text : {"", "   ", "\t", "# recorded at home", "#2026-12-08T10:00:00Z IS N0CALL>APRS:x"}) {
        EXPECT_EQ(parseReplayLine(text).kind, ReplayLineKind::Skipped) << '"' << text << '"';
    }
}

TEST(ReplayLine, RefusesMalformedLines) {
    for (const char* text : {
             "2026-12-08T10:00:00Z IS",                       // no packet
             "2026-12-08T10:00:00Z IS ",                      // empty packet
             "2026-12-08 10:00:00Z IS N0CALL>APRS:x",         // blank in the time
             "2026-12-08T10:00:00 IS N0CALL>APRS:x",          // not UTC
             "2026-02-30T10:00:00Z IS N0CALL>APRS:x",         // no such day
             "2026-12-08T24:00:00Z IS N0CALL>APRS:x",
             "2026-12-08T10:60:00Z IS N0CALL>APRS:x",
             "2026-12-08T10:00:00.Z IS N0CALL>APRS:x",
             "2026-12-08T10:00:00Z TCP N0CALL>APRS:x",        // unknown channel
             "2026-12-08T10:00:00Z RF N0CALL>APRS:x",         // port missing
             "2026-12-08T10:00:00Z RF100 N0CALL>APRS:x",      // would read as the Internet stream
             "2026-12-08T10:00:00Z RF40000 N0CALL>APRS:x",    // does not fit the source number
             "2026-12-08T10:00:00Z RF-1 N0CALL>APRS:x",
             " 2026-12-08T10:00:00Z IS N0CALL>APRS:x",
             "N0CALL>APRS:x",
         }) {
        EXPECT_EQ(parseReplayLine(text).kind, ReplayLineKind::Malformed) << '"' << text << '"';
    }
}

TEST(ReplayLine, AcceptsLeapDaysAndTheLastSecondOfADay) {
    EXPECT_TRUE(parseUtcTime("2028-02-29T23:59:59Z"));
    EXPECT_FALSE(parseUtcTime("2026-02-29T00:00:00Z"));
    EXPECT_FALSE(parseUtcTime("2026-12-08T10:00:60Z"));
}

}  // namespace
}  // namespace ovelsk::aprs
