#include "host/host_settings.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/scratch_folder.h"

namespace ovelsk {
namespace {

using testing::readFile;
using testing::ScratchFolder;
using testing::writeFile;

class HostSettingsTest : public ::testing::Test {
protected:
    HostSettings loaded(std::string_view content) {
        writeFile(file, content);
        HostSettings settings(file);
        EXPECT_FALSE(settings.load().has_value());
        return settings;
    }

    ScratchFolder scratch;
    std::filesystem::path file = scratch / "UI-View32.ini";
};

TEST_F(HostSettingsTest, ReadsAHandWrittenProgramFolder) {
    const auto settings = loaded("[UI-View32]\nProgram Folder=/home/me/host/\n");
    EXPECT_TRUE(settings.exists());
    EXPECT_EQ(settings.value(kProgramFolderKey), "/home/me/host/");
}

TEST_F(HostSettingsTest, KeysAndSectionsMatchInAnyCaseAndBlanksAroundThemDoNotCount) {
    const auto settings = loaded("[ui-view32]\n  program folder \t=  /srv/ui view/  \n");
    EXPECT_EQ(settings.value("Program Folder"), "/srv/ui view/");
}

TEST_F(HostSettingsTest, OnlyItsOwnSectionCounts) {
    const auto settings = loaded(
        "Program Folder=/before/any/section\n"
        "[Other]\nProgram Folder=/wrong\n"
        "[UI-View32]\n; Program Folder=/commented\nLatitude=51.5\nProgram Folder=/right\n"
        "[Later]\nProgram Folder=/wrong/too\n");
    EXPECT_EQ(settings.value(kProgramFolderKey), "/right");
    EXPECT_EQ(settings.value("Latitude"), "51.5");
    EXPECT_FALSE(settings.value("Longitude").has_value());
}

TEST_F(HostSettingsTest, ReadsCrLfFilesAndAByteOrderMark) {
    EXPECT_EQ(loaded("\xEF\xBB\xBF[UI-View32]\r\nProgram Folder=C:/UIV\r\n").value(kProgramFolderKey), "C:/UIV");
    EXPECT_EQ(loaded("[UI-View32]\r\nProgram Folder=/last/line/without/ending").value(kProgramFolderKey),
              "/last/line/without/ending");
}

TEST_F(HostSettingsTest, ReadsLoneCrLineEndsAndKeepsThemOnSave) {
    auto settings = loaded("[UI-View32]\rLatitude=51.5\rProgram Folder=/old\r");
    EXPECT_EQ(settings.value("Latitude"), "51.5");
    settings.setValue(kProgramFolderKey, "/new");
    ASSERT_FALSE(settings.save().has_value());
    EXPECT_EQ(readFile(file), "[UI-View32]\rLatitude=51.5\rProgram Folder=/new\r");
}

TEST_F(HostSettingsTest, AFileSavedAsUtf16IsAnErrorThatSaysToSaveItAsPlainText) {
    // Marked little endian, unmarked little endian, unmarked big endian.
    for (const std::string& content : {std::string("\xFF\xFE[\0U\0I\0", 8), std::string("[\0U\0I\0-\0", 8),
                                       std::string("\0[\0U\0I\0-", 8)}) {
        writeFile(file, content);
        HostSettings settings(file);
        const auto error = settings.load();
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->reason, "it is saved as UTF-16 (Unicode); save it as plain text (UTF-8)");
    }
}

TEST_F(HostSettingsTest, FirstOfTwoEqualKeysCountsAndIsTheOneChanged) {
    auto settings = loaded("[UI-View32]\nProgram Folder=/one\nProgram Folder=/two\n");
    EXPECT_EQ(settings.value(kProgramFolderKey), "/one");
    settings.setValue(kProgramFolderKey, "/three");
    EXPECT_EQ(settings.value(kProgramFolderKey), "/three");
}

TEST_F(HostSettingsTest, MissingFileIsEmptySettings) {
    HostSettings settings(scratch / "no such folder" / "UI-View32.ini");
    EXPECT_FALSE(settings.load().has_value());
    EXPECT_FALSE(settings.exists());
    EXPECT_FALSE(settings.value(kProgramFolderKey).has_value());
}

TEST_F(HostSettingsTest, UnreadableFileIsAnError) {
    std::filesystem::create_directory(file);
    HostSettings settings(file);
    const auto error = settings.load();
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->reason, "not a regular file");
    EXPECT_FALSE(settings.exists());
}

TEST_F(HostSettingsTest, SetValueKeepsEveryOtherLineAndTheLineEndings) {
    const std::string before =
        "; the host's own settings\r\n[UI-View32]\r\nLatitude = 51.5\r\nProgram Folder=/old\r\n\r\n[Other]\r\nx=1\r\n";
    auto settings = loaded(before);
    EXPECT_TRUE(settings.setValue("program folder", "/new/place/"));
    EXPECT_TRUE(settings.setValue("Longitude", "-0.1"));
    ASSERT_FALSE(settings.save().has_value());
    EXPECT_EQ(readFile(file),
              "; the host's own settings\r\n[UI-View32]\r\nLatitude = 51.5\r\nprogram folder=/new/place/\r\n"
              "Longitude=-0.1\r\n\r\n[Other]\r\nx=1\r\n");
    EXPECT_FALSE(std::filesystem::exists(scratch / "UI-View32.ini.tmp"));
}

TEST_F(HostSettingsTest, SetValueAddsTheSectionAndSaveMakesTheFolders) {
    HostSettings settings(scratch / "Peak Systems" / "UI-View32.ini");
    ASSERT_FALSE(settings.load().has_value());
    EXPECT_TRUE(settings.setValue(kProgramFolderKey, "/home/me/host/"));
    ASSERT_FALSE(settings.save().has_value());
    EXPECT_EQ(readFile(settings.path()), "[UI-View32]\nProgram Folder=/home/me/host/\n");

    HostSettings again(settings.path());
    ASSERT_FALSE(again.load().has_value());
    EXPECT_EQ(again.value(kProgramFolderKey), "/home/me/host/");
}

TEST_F(HostSettingsTest, RefusesWhatWouldNotStayOneLine) {
    auto settings = loaded("[UI-View32]\nProgram Folder=/safe\n");
    EXPECT_FALSE(settings.setValue(kProgramFolderKey, "/evil\n[Other]"));
    EXPECT_FALSE(settings.setValue("Program Folder=x", "y"));
    EXPECT_FALSE(settings.setValue("[Other]", "y"));
    EXPECT_FALSE(settings.setValue(" ", "y"));
    EXPECT_EQ(settings.value(kProgramFolderKey), "/safe");
    EXPECT_FALSE(settings.value("[Other]").has_value());
}

TEST(HostSettingsPath, FollowsXdgConfigHomeElseHome) {
    const char* savedXdg = std::getenv("XDG_CONFIG_HOME");
    const char* savedHome = std::getenv("HOME");
    const std::string xdg = savedXdg ? savedXdg : "";
    const std::string home = savedHome ? savedHome : "";

    ::setenv("XDG_CONFIG_HOME", "/xdg/config", 1);
    EXPECT_EQ(HostSettings::defaultPath(), "/xdg/config/Peak Systems/UI-View32.ini");
    ::setenv("HOME", "/home/me", 1);
    ::setenv("XDG_CONFIG_HOME", "", 1);
    EXPECT_EQ(HostSettings::defaultPath(), "/home/me/.config/Peak Systems/UI-View32.ini");
    ::setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(HostSettings::defaultPath(), "/home/me/.config/Peak Systems/UI-View32.ini");

    savedXdg ? ::setenv("XDG_CONFIG_HOME", xdg.c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
    savedHome ? ::setenv("HOME", home.c_str(), 1) : ::unsetenv("HOME");
}

}  // namespace
}  // namespace ovelsk
