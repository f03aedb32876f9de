// The program on a fresh machine: with no host settings it sets up the demo
// host, plays the bundled traffic, and the beacons reach the status line and the
// demo igate.ini.
#include <QProcess>
#include <QProcessEnvironment>
#include <csignal>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/scratch_folder.h"

namespace ovelsk::test {
namespace {

// Starts the program without a screen, its settings and host data under `home`.
void startOvelsk(QProcess& process, const testing::ScratchFolder& home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    env.insert("XDG_CONFIG_HOME", QString::fromStdString((home / "config").string()));
    env.insert("XDG_DATA_HOME", QString::fromStdString((home / "data").string()));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(OVELSK_BINARY_DIR "/app/ovelsk"), {});
}

// Reads status lines until one ends with `wanted`.
std::vector<std::string> statusLinesUntil(QProcess& process, std::string_view wanted) {
    std::vector<std::string> statusLines;
    while (statusLines.empty() || !statusLines.back().ends_with(wanted)) {
        while (!process.canReadLine()) {
            if (!process.waitForReadyRead()) {
                ADD_FAILURE() << "no status line ending with " << wanted;
                return statusLines;
            }
        }
        statusLines.push_back(process.readLine().trimmed().toStdString());
    }
    return statusLines;
}

TEST(DemoProgram, AFreshMachinePlaysTheDemoIntoTheStatusLineAndTheDemoIgateFile) {
    testing::ScratchFolder home;
    QProcess process;
    startOvelsk(process, home);
    // The status line follows the list rebuild, so once an Internet station in
    // range is on it, the igate.ini has its block.
    const auto statusLines = statusLinesUntil(process, " Via Internet Stream");
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished());

    ASSERT_FALSE(statusLines.empty());
    EXPECT_EQ(statusLines.front(), "v1.0.0");
    const auto hostFolder = home / "data" / "ovelsk" / "host";
    const std::string igate = testing::readFile(hostFolder / "igate.ini");
    EXPECT_NE(igate.find("[INET_TO_RF]\r\n;Ovelsk IGATE Section - Start\r\n"), std::string::npos) << igate;
    EXPECT_NE(igate.find(";Ovelsk IGATE Section - End\r\nW0DEMO-7=ALL\r\n"), std::string::npos) << igate;
    EXPECT_TRUE(std::filesystem::exists(hostFolder / "Ovelsk.XTR"));
    const std::string settings = (home / "config" / "Peak Systems" / "UI-View32.ini").string();
    EXPECT_NE(process.readAllStandardError().toStdString().find(settings), std::string::npos)
        << "standard error says where the settings file is";
}

// Two would share igate.tmp and could leave igate.ini empty.
TEST(DemoProgram, ASecondOvelskOnTheSameHostFolderRefusesToStart) {
    testing::ScratchFolder home;
    QProcess first;
    startOvelsk(first, home);
    statusLinesUntil(first, " Via Internet Stream");  // started up in full

    QProcess second;
    startOvelsk(second, home);
    ASSERT_TRUE(second.waitForFinished());
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 1);
    const auto hostFolder = home / "data" / "ovelsk" / "host";
    EXPECT_THAT(second.readAllStandardError().toStdString(),
                ::testing::HasSubstr("ovelsk.app: error: Ovelsk is already running (as a service or with its window) and "
                                     "keeps the igate.ini in " + hostFolder.string() +
                                     " (it holds " + (hostFolder / "Ovelsk.lock").string() +
                                     "); run one Ovelsk per host folder\n"));

    ::kill(static_cast<pid_t>(first.processId()), SIGTERM);
    ASSERT_TRUE(first.waitForFinished());
    EXPECT_EQ(first.exitCode(), 0);
}

// One that cannot take the lock cannot know it is alone with the file either.
TEST(DemoProgram, AnOvelskThatCannotTakeTheLockRefusesToStart) {
    testing::ScratchFolder home;
    const auto lock = home / "data" / "ovelsk" / "host" / "Ovelsk.lock";
    std::filesystem::create_directories(lock);
    QProcess ovelsk;
    startOvelsk(ovelsk, home);
    ASSERT_TRUE(ovelsk.waitForFinished());
    EXPECT_EQ(ovelsk.exitCode(), 1);
    EXPECT_THAT(ovelsk.readAllStandardError().toStdString(),
                ::testing::HasSubstr("ovelsk.app: error: cannot lock " + lock.string() + ": Is a directory\n"));
}

}  // namespace
}  // namespace ovelsk::test
