// What the host tells of its drops: a count per reason, a summary line every hour
// and at exit, and each drop at debug level.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "standin/decode_tally.h"
#include "standin/standin_host.h"
#include "support/fake_clock.h"
#include "support/log_capture.h"

namespace ovelsk::standin {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::string_view kBeacon = "N0CALL-9>APRS,WIDE1-1:!4903.50N/07201.75W-";
constexpr std::string_view kStatus = "N0CALL-9>APRS:>on the air";
constexpr std::string_view kObject = "N0CALL>APRS:;OBJ      *092345z4903.50N/07201.75W-";

TEST(DecodeTally, SummaryNamesTheReasonsThatOccurredMostFrequentFirst) {
    DecodeTally tally;
    EXPECT_EQ(tally.summary(), "decoded 0, dropped 0");
    tally.countDecoded();
    for (const aprs::DropReason reason : {aprs::DropReason::Status, aprs::DropReason::NoPosition, aprs::DropReason::Object,
                                    aprs::DropReason::NoPosition, aprs::DropReason::BadCallsign}) {
        tally.countDropped(reason);
    }
    EXPECT_EQ(tally.dropped(), 5u);
    EXPECT_EQ(tally.dropped(aprs::DropReason::NoPosition), 2u);
    // Equal counts keep the order of the reasons.
    EXPECT_EQ(tally.summary(), "decoded 1, dropped 5: no position 2, bad callsign 1, object 1, status 1");
}

std::vector<std::string> summaries(const testing::LogCapture& log) {
    std::vector<std::string> lines;
    for (const auto& message : log.messages()) {
        if (message.category == "ovelsk.decode" && message.type == QtInfoMsg) lines.push_back(message.text);
    }
    return lines;
}

TEST(DecodeSummary, TheHostLogsItAnHourAfterTheFirstPacketThenHourlyAndAtExit) {
    testing::LogCapture log;
    testing::FakeClock clock;
    {
        StandinHost host({49.0, -72.0}, DistanceUnit::Miles, clock);
        bool on = true;
        host.enable(on);
        host.receivePacket(0, kBeacon);
        host.receivePacket(0, kStatus);
        clock.advanceMinutes(59);
        host.receivePacket(0, kObject);
        EXPECT_THAT(summaries(log), IsEmpty());
        clock.advanceMinutes(2);
        host.receivePacket(0, kStatus);
        EXPECT_THAT(summaries(log), ElementsAre("decoded 1, dropped 2: object 1, status 1"));
        clock.advanceMinutes(59);
        host.receivePacket(0, kBeacon);
        EXPECT_EQ(summaries(log).size(), 1u) << "the next one an hour after the last";
    }
    EXPECT_THAT(summaries(log), ElementsAre("decoded 1, dropped 2: object 1, status 1",
                                            "decoded 2, dropped 3: status 2, object 1"));
}

TEST(DecodeSummary, EachDropIsLoggedAtDebugLevelWithThePacketEscapedWhenAskedFor) {
    testing::LogCapture log;
    testing::FakeClock clock;
    StandinHost host({49.0, -72.0}, DistanceUnit::Miles, clock);
    bool on = true;
    host.enable(on);
    host.receivePacket(0, kStatus);
    EXPECT_THAT(log.messages(), IsEmpty()) << "debug is off by default";

    QLoggingCategory::setFilterRules(QStringLiteral("ovelsk.decode.debug=true"));
    host.receivePacket(0, "N0CALL-9>APRS:>status\x1b[2J");
    host.receivePacket(0, kBeacon);
    QLoggingCategory::setFilterRules(QString());
    ASSERT_EQ(log.messages().size(), 1u);
    EXPECT_EQ(log.messages()[0].type, QtDebugMsg);
    EXPECT_EQ(log.messages()[0].text, "dropped (status): N0CALL-9>APRS:>status\\x1B[2J");
}

}  // namespace
}  // namespace ovelsk::standin
