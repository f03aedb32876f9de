// The program's command line, run as a user would run it.
#include <QProcess>
#include <QProcessEnvironment>
#include <csignal>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/scratch_folder.h"

namespace ovelsk::test {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

struct ProgramRun {
    int exitCode;
    std::string standardOutput;
    std::string standardError;
};

// The program with its host files in `home`, and no display unless `display` is given.
QProcess* startProgram(QProcess& process, const testing::ScratchFolder& home, const QStringList& arguments,
                       const QString& display = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    if (!display.isEmpty()) env.insert("DISPLAY", display);
    env.insert("XDG_CONFIG_HOME", QString::fromStdString((home / "config").string()));
    env.insert("XDG_DATA_HOME", QString::fromStdString((home / "data").string()));
    env.remove("XDG_RUNTIME_DIR");
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(OVELSK_BINARY_DIR "/app/ovelsk"), arguments);
    return &process;
}

ProgramRun run(const QStringList& arguments) {
    testing::ScratchFolder home;
    QProcess process;
    startProgram(process, home, arguments);
    EXPECT_TRUE(process.waitForFinished()) << "the program ends by itself";
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

TEST(CommandLine, HelpAndVersionPrintOnStandardOutputAndExitZero) {
    const ProgramRun version = run({"--version"});  // without XDG_RUNTIME_DIR, as in a service
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.standardOutput, "Ovelsk 1.0.0\n");
    EXPECT_THAT(version.standardError, IsEmpty());

    const ProgramRun help = run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_THAT(help.standardOutput, StartsWith("Usage: ovelsk [options]"));
    for (const char* option : {"--settings <FILE>", "--headless", "--version"}) EXPECT_THAT(help.standardOutput, HasSubstr(option));
    // Qt's own options are taken by Qt, not refused.
    EXPECT_EQ(run({"-platform", "offscreen", "-v"}).standardOutput, "Ovelsk 1.0.0\n");
}

TEST(CommandLine, AnUnknownOptionOrStrayArgumentPrintsTheUsageOnStandardErrorAndExitsTwoWithoutStarting) {
    for (const QStringList& arguments : {QStringList{"--bogus"}, QStringList{"-x"}, QStringList{"stray"},
                                         QStringList{"--settings"}, QStringList{"--settings="}}) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const ProgramRun refused = run(arguments);
        EXPECT_EQ(refused.exitCode, 2);
        EXPECT_THAT(refused.standardOutput, IsEmpty()) << "no status line: the program did not start";
        EXPECT_THAT(refused.standardError, HasSubstr("Usage: ovelsk [options]"));
    }
    EXPECT_THAT(run({"--bogus"}).standardError, StartsWith("Unknown option 'bogus'.\n\nUsage: ovelsk [options]\n"));
}

TEST(CommandLine, SettingsNamesTheHostSettingsFileThatAFirstStartWrites) {
    testing::ScratchFolder home;
    const auto settings = home / "station.ini";
    QProcess process;
    startProgram(process, home, {"--settings", QString::fromStdString(settings.string())});
    while (!process.canReadLine()) ASSERT_TRUE(process.waitForReadyRead());
    EXPECT_EQ(process.readLine(), "v1.0.0\n");
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished());
    EXPECT_EQ(process.exitCode(), 0);

    EXPECT_THAT(testing::readFile(settings), HasSubstr("Feeds=demo"));
    EXPECT_FALSE(std::filesystem::exists(home / "config" / "Peak Systems")) << "the default file is left alone";
    EXPECT_TRUE(std::filesystem::exists(home / "data" / "ovelsk" / "host" / "Ovelsk.XTR"))
        << "the add-on registration reads the same file";
}

TEST(CommandLine, HeadlessRunsWithoutTheDisplayThatIsSet) {
    testing::ScratchFolder home;
    QProcess process;
    // A display that does not exist: without --headless, Qt would stop at start-up.
    startProgram(process, home, {"--headless"}, QStringLiteral(":987"));
    while (!process.canReadLine()) ASSERT_TRUE(process.waitForReadyRead()) << process.readAllStandardError().toStdString();
    EXPECT_EQ(process.readLine(), "v1.0.0\n");
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished());
    EXPECT_EQ(process.exitCode(), 0);
}

}  // namespace
}  // namespace ovelsk::test
