#include "standin/host_config.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "standin/create_standin_host.h"
#include "support/log_capture.h"
#include "support/scratch_folder.h"

namespace ovelsk::standin {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class HostConfigTest : public ::testing::Test {
protected:
    HostSettings settingsWith(std::string_view lines) {
        return settingsWith(lines, folder_.path().string() + "/");
    }
    HostSettings settingsWith(std::string_view lines, const std::string& programFolder) {
        testing::writeFile(settingsFile_, "[UI-View32]\nProgram Folder=" + programFolder + "\n" + std::string(lines));
        HostSettings settings(settingsFile_);
        EXPECT_FALSE(settings.load());
        return settings;
    }

    std::string errorFor(std::string_view lines) {
        const auto config = readHostConfig(settingsWith(lines));
        return std::holds_alternative<std::string>(config) ? std::get<std::string>(config) : "";
    }

    testing::ScratchFolder folder_;
    std::filesystem::path settingsFile_ = folder_ / "UI-View32.ini";
};

TEST_F(HostConfigTest, ReadsEveryKey) {
    const auto config = readHostConfig(settingsWith(
        "Latitude=-33.8688\nlongitude = 151.2093\nDistance Unit=KM\nFeeds=demo, replay:/tmp/a b.txt ,demo\n"
        "Replay Speed=2.5\nBeacon=OFF\nBeacon Interval=1440\nBeacon Comment=" + std::string(43, '~') + "\n"));
    ASSERT_TRUE(std::holds_alternative<HostConfig>(config)) << std::get<std::string>(config);
    const auto& host = std::get<HostConfig>(config);
    EXPECT_EQ(host.home.latitude, -33.8688);
    EXPECT_EQ(host.home.longitude, 151.2093);
    EXPECT_EQ(host.distanceUnit, DistanceUnit::Kilometres);
    EXPECT_THAT(host.feeds, ElementsAre("demo", "replay:/tmp/a b.txt", "demo"));
    EXPECT_EQ(host.replaySpeed, 2.5);
    EXPECT_FALSE(host.beacon.on);
    EXPECT_EQ(host.beacon.intervalMinutes, 1440);
    EXPECT_EQ(host.beacon.comment, std::string(43, '~'));
}

TEST_F(HostConfigTest, UnitAndSpeedHaveDefaultsAndNoFeedsIsAllowed) {
    const auto config = readHostConfig(settingsWith("Latitude=40\nLongitude=-105\nDistance Unit=\n"));
    ASSERT_TRUE(std::holds_alternative<HostConfig>(config));
    const auto& host = std::get<HostConfig>(config);
    EXPECT_EQ(host.distanceUnit, DistanceUnit::Miles);
    EXPECT_EQ(host.replaySpeed, 1.0);
    EXPECT_TRUE(host.feeds.empty());
    EXPECT_TRUE(host.beacon.on);
    EXPECT_EQ(host.beacon.intervalMinutes, 30);
    EXPECT_EQ(host.beacon.comment, "Ovelsk iGate");
    EXPECT_FALSE(host.beacon.toRf);
}

TEST_F(HostConfigTest, ABadValueIsNamedWithItsKeyAndWhatIsAllowed) {
    const std::string home = "Latitude=40\nLongitude=-105\n";
    std::string sixteenMore;
    for (int i = 0; i < 16; ++i) sixteenMore += ",demo";
    EXPECT_EQ(errorFor(home + "Feeds=" + sixteenMore.substr(1) + "\nReplay Speed=10000\n"), "");
    struct Case {
        std::string lines;
        std::string message;
    };
    for (const auto& [lines, message] : std::vector<Case>{
             {"Longitude=-105\n", "\"Latitude\" is empty or missing; allowed: decimal degrees from -90 to 90"},
             {"Latitude=90.5\nLongitude=-105\n", "\"Latitude\" is \"90.5\"; allowed: decimal degrees from -90 to 90"},
             {"Latitude=40N\nLongitude=-105\n", "\"Latitude\" is \"40N\"; allowed"},
             {"Latitude=nan\nLongitude=-105\n", "\"Latitude\" is \"nan\"; allowed"},
             {"Latitude=40\nLongitude=-180.01\n", "\"Longitude\" is \"-180.01\"; allowed: decimal degrees from -180 to 180"},
             {"Latitude=40\nLongitude=105,3\n", "\"Longitude\" is \"105,3\" (use a point, not a comma); allowed"},
             {home + "Distance Unit=miles\n", "\"Distance Unit\" is \"miles\"; allowed: mi (statute miles, the default) or km"},
             {home + "Replay Speed=0\n", "\"Replay Speed\" is \"0\"; allowed: a number greater than 0"},
             {home + "Replay Speed=-2\n", "\"Replay Speed\" is \"-2\"; allowed"},
             {home + "Replay Speed=fast\n", "\"Replay Speed\" is \"fast\"; allowed"},
             {home + "Replay Speed=inf\n", "\"Replay Speed\" is \"inf\"; allowed"},
             {home + "Replay Speed=10001\n", "\"Replay Speed\" is \"10001\"; allowed: a number greater than 0 and at most 10000"},
             {"Latitude=+-40\nLongitude=-105\n", "\"Latitude\" is \"+-40\"; allowed"},
             {home + "Feeds=demo,,demo\n", "\"Feeds\" is \"demo,,demo\"; allowed: at most 16 feeds separated by single commas"},
             {home + "Feeds=demo,\n", "\"Feeds\" is \"demo,\"; allowed"},
             // What the message echoes stays one short line whatever the file holds.
             {home + "Distance Unit=mi\x1b[2J\n", "\"Distance Unit\" is \"mi\\x1B[2J\"; allowed"},
             {home + "Distance Unit=" + std::string(100, 'm') + "\n", "is \"" + std::string(80, 'm') + "...\"; allowed"},
             {home + "Feeds=demo" + sixteenMore + "\n", "allowed: at most 16 feeds"},
             {home + "Callsign=K0ABC\nFeeds=aprs-is:rotate.aprs2.net, aprs-is:second.example\n",
              "\"Feeds\" is \"aprs-is:rotate.aprs2.net, aprs-is:second.example\"; allowed: one aprs-is feed at most: "
              "two connections to APRS-IS loop packets back"},
             {home + "Beacon=yes\n", "\"Beacon\" is \"yes\"; allowed: on (the default"},
             {home + "Beacon Interval=9\n", "\"Beacon Interval\" is \"9\"; allowed: minutes between beacons, 10 to 1440"},
             {home + "Beacon Interval=1441\n", "\"Beacon Interval\" is \"1441\"; allowed"},
             {home + "Beacon Comment=" + std::string(44, 'c') + "\n", "allowed: at most 43 characters of printable ASCII"},
             {home + "Beacon Comment=caf\xC3\xA9\n", "\"Beacon Comment\" is \"caf\\xC3\\xA9\"; allowed"},
             {home + "Beacon To RF=on\n", "\"Beacon To RF\" is \"on\"; allowed: on only with Gate To RF=on"},
             {home + "Gate To RF=log\nBeacon To RF=on\n", "\"Beacon To RF\" is \"on\"; allowed: on only with Gate To RF=on"},
             {home + "Replay Speed=2,5\n", "\"Replay Speed\" is \"2,5\" (use a point, not a comma); allowed"},
         }) {
        const std::string error = errorFor(lines);
        EXPECT_THAT(error, HasSubstr(message)) << lines;
        EXPECT_THAT(error, HasSubstr(settingsFile_.string())) << "the message names the file";
        EXPECT_EQ(error.find('\n'), std::string::npos) << "one line";
    }
}

TEST_F(HostConfigTest, ProgramFolderIsTheAbsolutePathOfAnExistingFolder) {
    testing::writeFile(folder_ / "a-file", "");
    const std::vector<std::pair<std::string, std::string>> notFolders = {
        {"~/host/", ""},
        {"relative/host/", ""},
        {(folder_ / "missing/").string(), " (it does not exist)"},
        {(folder_ / "a-file").string(), " (it is not a folder)"}};
    for (const auto& [folder, note] : notFolders) {
        const auto config = readHostConfig(settingsWith("Latitude=40\nLongitude=-105\n", folder));
        ASSERT_TRUE(std::holds_alternative<std::string>(config)) << folder;
        EXPECT_THAT(std::get<std::string>(config),
                    HasSubstr("\"Program Folder\" is \"" + folder + "\"" + note +
                              "; allowed: the absolute path of an existing folder"));
    }
    EXPECT_TRUE(std::holds_alternative<HostConfig>(
        readHostConfig(settingsWith("Latitude=40\nLongitude=-105\n", folder_.path().string()))))
        << "the folder need not end in /";
}

class HostStartupTest : public HostConfigTest {
protected:
    std::string startupError(std::string_view lines) {
        settingsWith(lines);
        const auto before = testing::readFile(settingsFile_);
        testing::LogCapture log;
        auto result = createStandinHost({settingsFile_, folder_ / "fresh" / ""});
        EXPECT_EQ(testing::readFile(settingsFile_), before) << "nothing is written";
        EXPECT_FALSE(std::filesystem::exists(folder_ / "fresh"));
        EXPECT_EQ(log.text(), "");
        return std::holds_alternative<std::string>(result) ? std::get<std::string>(result) : "";
    }
};

TEST_F(HostStartupTest, StopsAtAFeedItCannotMake) {
    const std::string home = "Latitude=40\nLongitude=-105\n";
    EXPECT_THAT(startupError(home + "Feeds=demo, tape:/x\n"),
                HasSubstr("\"Feeds\" is \"tape:/x\"; allowed: a comma-separated list of demo, replay:PATH"));
    EXPECT_THAT(startupError(home + "Feeds=replay:\n"), HasSubstr("\"Feeds\" is \"replay:\"; allowed"));
    EXPECT_THAT(startupError(home + "Feeds=demo2\n"), HasSubstr("\"Feeds\" is \"demo2\"; allowed"));
    const auto missing = (folder_ / "missing.txt").string();
    EXPECT_THAT(startupError(home + "Feeds=replay:" + missing + "\n"),
                HasSubstr("allowed: replay:PATH of a readable file (" + missing + ": No such file or directory)"));
    EXPECT_THAT(startupError(home + "Feeds=replay:" + folder_.path().string() + "\n"), HasSubstr("it is a folder"));
    const auto fifo = folder_ / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {std::string("/dev/zero"), fifo.string()}) {
        EXPECT_THAT(startupError(home + "Feeds=replay:" + path + "\n"),
                    HasSubstr("(" + path + ": it is not a regular file but a device, pipe or socket)"));
    }
    EXPECT_THAT(startupError("Latitude=95\nLongitude=-105\n"), HasSubstr("\"Latitude\" is \"95\""));
    EXPECT_THAT(startupError(home + "Feeds=demo\nGate To RF=on\n"), HasSubstr("\"Gate To RF\" is \"on\""));
}

TEST_F(HostStartupTest, AnUnknownKeyGivesOneWarningNamingTheNearestKnownKey) {
    for (const auto& [line, warning] : std::vector<std::pair<std::string, std::string>>{
             {"Feed=demo", "\"Feed\" is not a setting; did you mean \"Feeds\"?"},
             {"lattitude=40", "\"lattitude\" is not a setting; did you mean \"Latitude\"?"},
             {"ReplaySpeed=2", "\"ReplaySpeed\" is not a setting; did you mean \"Replay Speed\"?"},
             {"Call\x1b[2Jsign=N0CALL", "\"Call\\x1B[2Jsign\" is not a setting; did you mean \"Callsign\"?"},
         }) {
        settingsWith("Latitude=49\nLongitude=-72\n;Filter=commented out, so no key\n" + line + "\n");
        testing::LogCapture log;
        auto result = createStandinHost({settingsFile_, folder_ / "fresh" / ""});
        EXPECT_TRUE(std::holds_alternative<std::unique_ptr<StandinHost>>(result)) << "start-up goes on";
        EXPECT_EQ(log.text(), "Host settings " + settingsFile_.string() + ": " + warning + "\n");
    }
}

TEST_F(HostStartupTest, AKeyItDoesNotReadOrReadsOnlyOnceGivesAWarningNamingItsLine) {
    const std::string home = "Latitude=49\nLongitude=-72\nProgram Folder=" + folder_.path().string() + "\n";
    const std::string section = "[UI-View32]\n";
    struct Case {
        std::string text;
        std::vector<std::string> warnings;  // after "Host settings FILE line "
        std::string error;                  // empty: start-up goes on
    };
    for (const auto& [text, warnings, error] : std::vector<Case>{
             {"Feeds=demo\n" + section + home, {"1: \"Feeds\" is outside the [UI-View32] section, which Ovelsk reads"}, ""},
             {section + home + "[Other]\nCallsign=N0CALL\n", {"6: \"Callsign\" is outside the [UI-View32] section, which Ovelsk reads"}, ""},
             {section + home + "latitude=50\n", {"5: \"latitude\" is given again (first on line 2); the one on line 2 is used"}, ""},
             {home,
              {"1: \"Latitude\" is outside the [UI-View32] section, which Ovelsk reads",
               "2: \"Longitude\" is outside the [UI-View32] section, which Ovelsk reads",
               "3: \"Program Folder\" is outside the [UI-View32] section, which Ovelsk reads"},
              "has no [UI-View32] line; Ovelsk reads its keys from that section"},
         }) {
        testing::writeFile(settingsFile_, text);
        testing::LogCapture log;
        auto result = createStandinHost({settingsFile_, folder_ / "fresh" / ""});
        std::string expected;
        for (const auto& warning : warnings) expected += "Host settings " + settingsFile_.string() + " line " + warning + "\n";
        EXPECT_EQ(log.text(), expected) << text;
        if (error.empty()) {
            EXPECT_TRUE(std::holds_alternative<std::unique_ptr<StandinHost>>(result)) << text;
        } else {
            ASSERT_TRUE(std::holds_alternative<std::string>(result)) << text;
            EXPECT_THAT(std::get<std::string>(result), HasSubstr(error));
        }
    }
}

TEST_F(HostStartupTest, EmptyProgramFolderStartsWithOneWarning) {
    settingsWith("Latitude=40\nLongitude=-105\n", "");
    testing::LogCapture log;
    auto result = createStandinHost({settingsFile_, folder_ / "fresh" / ""});
    ASSERT_TRUE(std::holds_alternative<std::unique_ptr<StandinHost>>(result)) << std::get<std::string>(result);
    EXPECT_EQ(log.text(), "Host settings " + settingsFile_.string() +
                             ": \"Program Folder\" is empty or missing, so igate.ini will not be kept\n");
}

// A wrong position on the map is worse than none.
TEST_F(HostStartupTest, SendsNoBeaconFromTheDemosHomeAndSaysSo) {
    settingsWith("Latitude=40.015\nLongitude=-105.2705\nCallsign=N0TEST-10\nPasscode=12345\n"
                 "Feeds=aprs-is:127.0.0.1:9\n");
    testing::LogCapture log;
    auto result = createStandinHost({settingsFile_, folder_ / "fresh" / ""});
    ASSERT_TRUE(std::holds_alternative<std::unique_ptr<StandinHost>>(result)) << std::get<std::string>(result);
    EXPECT_EQ(log.text(), "Host settings " + settingsFile_.string() +
                              ": \"Latitude\" and \"Longitude\" are still the demo's home, so the iGate sends no "
                              "beacon; set them to its own position\n");
}

TEST_F(HostStartupTest, BuildsTheHostWithItsFeeds) {
    const auto replay = folder_ / "saturday.txt";
    testing::writeFile(replay, "2026-12-08T10:00:00Z IS N0CALL>APRS,TCPIP*:!4903.50N/07201.75W-\n");
    settingsWith("Latitude=49\nLongitude=-72\nFeeds=replay:" + replay.string() + "\n");
    testing::LogCapture log;
    auto result = createStandinHost({settingsFile_, folder_ / "fresh" / ""});
    ASSERT_TRUE(std::holds_alternative<std::unique_ptr<StandinHost>>(result)) << std::get<std::string>(result);
    EXPECT_EQ(log.text(), "");
}

}  // namespace
}  // namespace ovelsk::standin
