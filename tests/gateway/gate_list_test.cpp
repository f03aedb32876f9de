// The gateway's list as the host reads it from igate.ini, and when it reads it.
#include "gateway/gate_list.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "host/igate_file.h"
#include "support/log_capture.h"
#include "support/scratch_folder.h"

namespace ovelsk::gateway {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(GateListText, TakesTheStationLinesOfEveryInetToRfSectionAndNamesTheRest) {
    const auto parsed = parseGateList(
        "[SETTINGS]\r\nOUTSIDE=ALL\r\n"
        "  [INET_TO_RF]  \r\n;Ovelsk IGATE Section - Start\r\nK0ABC-9=ALL\r\n;Ovelsk IGATE Section - End\r\n"
        "W1AW=ALL\r\n\tN0DEF = ALL \n\r\n# a comment\r\nW1AW=MSG\r\nW1 AW=ALL\r\nW1AW-123456=ALL\r\nW1AW=all\r\n"
        "[EXCLUDE]\r\nNOCALL=ALL\r\n"
        "[inet_to_rf]\r\nLOWER=ALL\r\n\t[INET_TO_RF]\r\nTABBED=ALL\r\n"
        "[INET_TO_RF]\nSECOND=ALL");
    EXPECT_THAT(parsed.stations, ElementsAre("K0ABC-9", "W1AW", "SECOND"));
    EXPECT_THAT(parsed.excluded, ElementsAre("NOCALL"));
    EXPECT_THAT(parsed.ignoredLines,
                ElementsAre("\tN0DEF = ALL ", "W1AW=MSG", "W1 AW=ALL", "W1AW-123456=ALL", "W1AW=all"));
}

// The list is read with the same line ends the rewrite writes through, an old
// Mac file's lone CRs included.
TEST(GateListText, ReadsLinesThatEndInALoneCr) {
    EXPECT_THAT(parseGateList("[INET_TO_RF]\rK0ABC-9=ALL\rW1AW=ALL\r\r\n").stations, ElementsAre("K0ABC-9", "W1AW"));
}

class GateListTest : public ::testing::Test {
protected:
    testing::ScratchFolder folder_;
    std::filesystem::path igateIni_ = folder_ / "igate.ini";
    testing::LogCapture log_;
};

TEST_F(GateListTest, SeesOvelsksRewriteAtOnceAndAHandEditWithinTwoSeconds) {
    testing::writeFile(igateIni_, "[INET_TO_RF]\r\nW1AW=ALL\r\n");
    GateList list(igateIni_);
    std::int64_t now = 1'000'000;
    EXPECT_TRUE(list.contains("W1AW", now));
    EXPECT_FALSE(list.contains("K0ABC-9", now));

    // Ovelsk's own rewrite, through igate.tmp renamed over igate.ini, then the
    // host's word that the file may have changed: seen in the same millisecond.
    const std::string folder = folder_.path().string();
    IgateFile(folder).WriteIgateSection({"1.5\tK0ABC-9\t\tNot Heard Via RF\t90"});
    list.fileMayHaveChanged();
    EXPECT_TRUE(list.contains("K0ABC-9", now));
    EXPECT_TRUE(list.contains("W1AW", now));
    EXPECT_EQ(list.reads(), 2u);

    // A hand edit in place: seen once a second has passed, and read just once.
    testing::writeFile(igateIni_, "[INET_TO_RF]\r\nW1AW=ALL\r\nN0DEF=ALL\r\n");
    EXPECT_FALSE(list.contains("N0DEF", now + 500));
    EXPECT_TRUE(list.contains("N0DEF", now + 2000));
    EXPECT_FALSE(list.contains("K0ABC-9", now + 2000));
    for (int second = 3; second < 60; ++second) list.contains("N0DEF", now + second * 1000);
    EXPECT_EQ(list.reads(), 3u) << "an unchanged file is not read again";

    // A clock stepped back a minute: an edit made then is seen at the next look.
    testing::writeFile(igateIni_, "[INET_TO_RF]\r\nW1AW=ALL\r\n");
    EXPECT_FALSE(list.contains("N0DEF", now + 59'000 - 60'000));
}

TEST_F(GateListTest, ReadsNoFileLargerThanOvelskWrites) {
    testing::writeFile(igateIni_, "[INET_TO_RF]\r\nW1AW=ALL\r\n" + std::string(kMaxIgateFileSize, ';'));
    GateList list(igateIni_);
    EXPECT_FALSE(list.contains("W1AW", 0));
    EXPECT_THAT(log_.text("ovelsk.gate"), HasSubstr("no station is listed"));
}

TEST_F(GateListTest, NotesEachIgnoredLineOnceAndAMissingFileOnceAsAnEmptyList) {
    testing::writeFile(igateIni_, "[INET_TO_RF]\r\nW1AW=MSG\r\nK0ABC-9=ALL\r\n");
    GateList list(igateIni_);
    EXPECT_TRUE(list.contains("K0ABC-9", 0));
    testing::writeFile(igateIni_, "[INET_TO_RF]\r\nW1AW=MSG\r\nBAD\x1B[2J=ALL\r\nK0ABC-9=ALL\r\n");
    EXPECT_TRUE(list.contains("K0ABC-9", 5000));
    std::filesystem::remove(igateIni_);
    EXPECT_FALSE(list.contains("K0ABC-9", 10000));
    EXPECT_FALSE(list.contains("K0ABC-9", 15000));
    std::istringstream lines(log_.text("ovelsk.gate"));
    std::vector<std::string> logged;
    for (std::string line; std::getline(lines, line);) logged.push_back(line);
    const std::string file = igateIni_.string();
    EXPECT_THAT(logged, ElementsAre("gate: ignored a line of [INET_TO_RF] in " + file + ", not CALL=ALL: \"W1AW=MSG\"",
                                    "gate: ignored a line of [INET_TO_RF] in " + file +
                                        ", not CALL=ALL: \"BAD\\x1B[2J=ALL\"",
                                    "gate: cannot read " + file + " (No such file or directory); no station is listed"));

    GateList withoutFolder({});
    EXPECT_FALSE(withoutFolder.contains("K0ABC-9", 0));
    EXPECT_THAT(log_.text("ovelsk.gate"), HasSubstr("(the host settings name no Program Folder); no station is listed"));
}

}  // namespace
}  // namespace ovelsk::gateway
