#include "host/host_registration.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "host/host_folder.h"
#include "support/scratch_folder.h"

namespace ovelsk {
namespace {

using testing::readFile;
using testing::ScratchFolder;
using testing::writeFile;

using ::testing::HasSubstr;
using ::testing::IsEmpty;

class RegisterWithHostTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directory(hostFolder); }

    void setProgramFolder(std::string_view value) {
        writeFile(settingsFile, "[UI-View32]\r\nProgram Folder=" + std::string(value) + "\r\n");
    }
    std::string registerProgram(const std::filesystem::path& executable = "/opt/ovelsk/bin/ovelsk") {
        return RegisterWithHost(executable, settingsFile, errors);
    }

    ScratchFolder scratch;
    std::filesystem::path settingsFile = scratch / "UI-View32.ini";
    std::filesystem::path hostFolder = scratch / "host";
    std::filesystem::path registration = hostFolder / "Ovelsk.XTR";
    std::ostringstream errors;
};

TEST_F(RegisterWithHostTest, WritesTheFourLinesOnceAndReturnsTheHostFolder) {
    setProgramFolder(hostFolder.string() + "/");
    EXPECT_EQ(registerProgram(), hostFolder.string() + "/");
    EXPECT_EQ(readFile(registration), "Ovelsk\r\n\"/opt/ovelsk/bin/ovelsk\"\r\nTrue\r\nTrue\r\n");
    EXPECT_FALSE(std::filesystem::exists(hostFolder / "Ovelsk.XTR.tmp"));
    EXPECT_THAT(errors.str(), IsEmpty());
}

TEST_F(RegisterWithHostTest, OneSeparatorBetweenFolderAndFileWhateverTheStoredFolderEndsWith) {
    for (const auto& stored : {hostFolder.string(), hostFolder.string() + "/", hostFolder.string() + "//"}) {
        std::filesystem::remove(registration);
        setProgramFolder(stored);
        EXPECT_EQ(registerProgram(), stored);
        EXPECT_TRUE(std::filesystem::is_regular_file(registration)) << stored;
    }
    EXPECT_FALSE(std::filesystem::exists(scratch / "hostOvelsk.XTR"));
    EXPECT_EQ(hostFolderFile("/", "Ovelsk.XTR"), "/Ovelsk.XTR");
}

TEST_F(RegisterWithHostTest, NamesTheRunningProgramByItsAbsolutePath) {
    setProgramFolder(hostFolder.string());
    registerProgram("/ovelsk");
    EXPECT_THAT(readFile(registration), HasSubstr("\r\n\"/ovelsk\"\r\n"));

    std::filesystem::remove(registration);
    registerProgram("bin/../ovelsk-1.0");
    const auto expected = (std::filesystem::current_path() / "ovelsk-1.0").string();
    EXPECT_THAT(readFile(registration), HasSubstr("\r\n\"" + expected + "\"\r\n"));
}

TEST_F(RegisterWithHostTest, ExistingRegistrationIsNeverRewritten) {
    setProgramFolder(hostFolder.string());
    writeFile(registration, "Ovelsk\r\n\"/old/place/ovelsk\"\r\nTrue\r\nTrue\r\n");
    EXPECT_EQ(registerProgram("/new/place/ovelsk"), hostFolder.string());
    EXPECT_EQ(readFile(registration), "Ovelsk\r\n\"/old/place/ovelsk\"\r\nTrue\r\nTrue\r\n");
}

TEST_F(RegisterWithHostTest, NoSettingMeansNoHostFolderAndNoFile) {
    EXPECT_EQ(registerProgram(), "");
    setProgramFolder("   ");
    EXPECT_EQ(registerProgram(), "");
    writeFile(settingsFile, "[Other]\nProgram Folder=" + hostFolder.string() + "\n");
    EXPECT_EQ(registerProgram(), "");
    EXPECT_TRUE(std::filesystem::is_empty(hostFolder));
    EXPECT_THAT(errors.str(), IsEmpty());
}

TEST_F(RegisterWithHostTest, UnreadableSettingsAreReportedAndStartUpGoesOn) {
    std::filesystem::create_directory(settingsFile);
    EXPECT_EQ(registerProgram(), "");
    EXPECT_THAT(errors.str(), HasSubstr(settingsFile.string() + ": not a regular file"));
}

TEST_F(RegisterWithHostTest, UnwritableRegistrationIsReportedWithPathAndReason) {
    const auto missing = scratch / "not there";
    setProgramFolder(missing.string());
    EXPECT_EQ(registerProgram(), missing.string());
    EXPECT_THAT(errors.str(), HasSubstr((missing / "Ovelsk.XTR").string() + ": No such file or directory"));

    errors.str("");
    setProgramFolder(hostFolder.string());
    std::filesystem::create_directory(registration);
    EXPECT_EQ(registerProgram(), hostFolder.string());
    EXPECT_THAT(errors.str(), HasSubstr(registration.string() + ": "));
    EXPECT_TRUE(std::filesystem::is_empty(registration));
}

TEST_F(RegisterWithHostTest, ProgramPathThatCannotBeQuotedIsNotRegistered) {
    setProgramFolder(hostFolder.string());
    registerProgram("/opt/odd\"name/ovelsk");
    registerProgram("/opt/odd\nname/ovelsk");
    EXPECT_TRUE(std::filesystem::is_empty(hostFolder));
    EXPECT_THAT(errors.str(), HasSubstr(registration.string() + ": the program path"));
}

}  // namespace
}  // namespace ovelsk
