#include <gmock/gmock.h>
#include <gtest/gtest.h>


#include "standin/create_standin_host.h"
#include "feeds/demo_feed.h"
#include "standin/host_config.h"
#include "standin/setting_keys.h"
#include "support/log_capture.h"
#include "support/scratch_folder.h"

namespace ovelsk::standin {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class FirstStartTest : public ::testing::Test {
protected:
    std::variant<std::unique_ptr<StandinHost>, std::string> start() {
        return createStandinHost({settingsFile_, hostFolder_});
    }

    testing::ScratchFolder folder_;
    std::filesystem::path settingsFile_ = folder_ / "config" / "Peak Systems" / "UI-View32.ini";
    std::filesystem::path hostFolder_ = folder_ / "data" / "ovelsk" / "host" / "";
    testing::LogCapture log_;
};

TEST_F(FirstStartTest, SetsTheHostUpForTheDemo) {
    ASSERT_TRUE(std::holds_alternative<std::unique_ptr<StandinHost>>(start()));
    HostSettings settings(settingsFile_);
    ASSERT_FALSE(settings.load());
    ASSERT_TRUE(settings.exists());
    EXPECT_EQ(settings.value(kProgramFolderKey), hostFolder_.string());
    EXPECT_TRUE(settings.value(kProgramFolderKey)->ends_with("/ovelsk/host/"));
    EXPECT_EQ(settings.value(kFeedsKey), "demo");
    EXPECT_EQ(settings.value(gateway::kGateToRfKey), "log") << "the demo shows the gate's decisions";
    const auto config = readHostConfig(settings);
    ASSERT_TRUE(std::holds_alternative<HostConfig>(config));
    EXPECT_EQ(std::get<HostConfig>(config).home.latitude, aprs::kDemoHome.latitude);
    EXPECT_EQ(std::get<HostConfig>(config).home.longitude, aprs::kDemoHome.longitude);

    const auto igate = testing::readFile(hostFolder_ / "igate.ini");
    EXPECT_EQ(igate, aprs::sampleIgateIni());
    EXPECT_THAT(igate, HasSubstr("[INET_TO_RF]\r\nW0DEMO-7=ALL\r\n"));
    EXPECT_FALSE(std::filesystem::exists(hostFolder_ / "igate.tmp"));
    EXPECT_THAT(log_.text(), HasSubstr(settingsFile_.string()));
}

TEST_F(FirstStartTest, WritesACommentAboveEveryKeyAndLeavesTheLiveFeedKeysCommentedOut) {
    ASSERT_TRUE(std::holds_alternative<std::unique_ptr<StandinHost>>(start()));
    const std::string text = testing::readFile(settingsFile_);
    for (const SettingKey& key : settingKeys()) {
        SCOPED_TRACE(key.name);
        const bool commentedOut = !key.example.empty();
        const auto line = text.find("\n" + std::string(commentedOut ? ";" : "") + std::string(key.name) + "=");
        ASSERT_NE(line, std::string::npos) << text;
        const auto lineAbove = text.rfind('\n', line - 1);
        EXPECT_EQ(text.substr(lineAbove + 1, 2), "; ") << "a comment right above the key";
    }
    HostSettings settings(settingsFile_);
    ASSERT_FALSE(settings.load());
    EXPECT_EQ(settings.keys(), (std::vector<std::string>{"Program Folder", "Latitude", "Longitude", "Distance Unit",
                                                         "Feeds", "Replay Speed", "Gate To RF"}));
    EXPECT_FALSE(settings.value(kCallsignKey).has_value());
    EXPECT_TRUE(unknownSettingWarnings(settings).empty());
}

TEST_F(FirstStartTest, KeepsAnIgateIniThatIsAlreadyThere) {
    std::filesystem::create_directories(hostFolder_);
    testing::writeFile(hostFolder_ / "igate.ini", "[INET_TO_RF]\r\nMINE=ALL\r\n");
    ASSERT_TRUE(std::holds_alternative<std::unique_ptr<StandinHost>>(start()));
    EXPECT_EQ(testing::readFile(hostFolder_ / "igate.ini"), "[INET_TO_RF]\r\nMINE=ALL\r\n");
}

TEST_F(FirstStartTest, HappensOnlyOnce) {
    ASSERT_TRUE(std::holds_alternative<std::unique_ptr<StandinHost>>(start()));
    testing::writeFile(hostFolder_ / "igate.ini", "edited");
    log_.clear();
    ASSERT_TRUE(std::holds_alternative<std::unique_ptr<StandinHost>>(start()));
    EXPECT_EQ(testing::readFile(hostFolder_ / "igate.ini"), "edited");
    EXPECT_EQ(log_.text(), "");
}

// Once real feeds replace the demo, its sample station would be gated to radio.
TEST_F(FirstStartTest, ARealStartWarnsWhileTheDemoStationIsStillListed) {
    ASSERT_TRUE(std::holds_alternative<std::unique_ptr<StandinHost>>(start()));
    EXPECT_THAT(log_.text(), Not(HasSubstr("W0DEMO-7"))) << "the demo wants it";
    HostSettings settings(settingsFile_);
    ASSERT_FALSE(settings.load());
    testing::writeFile(folder_ / "recorded.txt", "");
    settings.setValue(kFeedsKey, "replay:" + (folder_ / "recorded.txt").string());
    ASSERT_FALSE(settings.save());
    const std::string warning = (hostFolder_ / "igate.ini").string() +
                                " still lists the demo's sample station \"W0DEMO-7=ALL\", whose Internet traffic the "
                                "gateway to radio would pass; delete that line";
    for (const auto& [igateText, warned] : {std::pair{std::string(aprs::sampleIgateIni()), true},
                                            std::pair{std::string("[INET_TO_RF]\r\nW0DEMO-77=ALL\r\n"), false}}) {
        testing::writeFile(hostFolder_ / "igate.ini", igateText);
        log_.clear();
        ASSERT_TRUE(std::holds_alternative<std::unique_ptr<StandinHost>>(start()));
        EXPECT_EQ(log_.text("ovelsk.settings"), warned ? warning + "\n" : "") << igateText;
    }
}

TEST_F(FirstStartTest, SaysWhyWhenTheFolderCannotBeMade) {
    testing::writeFile(folder_ / "data", "a file where the folder should be");
    const auto result = start();
    ASSERT_TRUE(std::holds_alternative<std::string>(result));
    EXPECT_THAT(std::get<std::string>(result), HasSubstr("cannot create the host folder"));
    EXPECT_FALSE(std::filesystem::exists(settingsFile_));
}

TEST(DefaultHostDataFolder, FollowsXdgDataHome) {
    const char* old = std::getenv("XDG_DATA_HOME");
    const std::string saved = old ? old : "";
    ::setenv("XDG_DATA_HOME", "/tmp/xdg-data", 1);
    EXPECT_EQ(defaultHostDataFolder().string(), "/tmp/xdg-data/ovelsk/host/");
    ::unsetenv("XDG_DATA_HOME");
    ::setenv("HOME", std::getenv("HOME") ? std::getenv("HOME") : "/home/op", 1);
    EXPECT_EQ(defaultHostDataFolder().string(), std::string(std::getenv("HOME")) + "/.local/share/ovelsk/host/");
    // A relative value is invalid under the XDG rules and ignored, as for the config folder.
    ::setenv("XDG_DATA_HOME", "relative/data", 1);
    EXPECT_EQ(defaultHostDataFolder().string(), std::string(std::getenv("HOME")) + "/.local/share/ovelsk/host/");
    ::unsetenv("XDG_DATA_HOME");
    if (old) ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
}

}  // namespace
}  // namespace ovelsk::standin
