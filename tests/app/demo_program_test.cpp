// The program on a fresh machine: with no host settings it sets up the demo
// host, plays the bundled traffic, and the beacons reach the status line and the
// demo igate.ini.
#include <QProcess>
#include <QProcessEnvironment>
#include <csignal>
#include <gtest/gtest.h>

#include "support/scratch_folder.h"

namespace ovelsk::test {
namespace {

TEST(DemoProgram, AFreshMachinePlaysTheDemoIntoTheStatusLineAndTheDemoIgateFile) {
    testing::ScratchFolder home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    env.insert("XDG_CONFIG_HOME", QString::fromStdString((home / "config").string()));
    env.insert("XDG_DATA_HOME", QString::fromStdString((home / "data").string()));
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(OVELSK_BINARY_DIR "/app/ovelsk"), {});

    // The status line follows the list rebuild, so once an Internet station in
    // range is on it, the igate.ini has its block.
    std::vector<std::string> statusLines;
    while (statusLines.empty() || !statusLines.back().ends_with(" Via Internet Stream")) {
        while (!process.canReadLine()) ASSERT_TRUE(process.waitForReadyRead()) << "the demo plays";
        statusLines.push_back(process.readLine().trimmed().toStdString());
    }
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished());

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

}  // namespace
}  // namespace ovelsk::test
