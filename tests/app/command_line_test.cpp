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
                       const QString& display = {}, const QString& waylandDisplay = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    if (!display.isEmpty()) env.insert("DISPLAY", display);
    if (!waylandDisplay.isEmpty()) env.insert("WAYLAND_DISPLAY", waylandDisplay);
    env.insert("XDG_CONFIG_HOME", QString::fromStdString((home / "config").string()));
    env.insert("XDG_DATA_HOME", QString::fromStdString((home / "data").string()));
    env.remove("XDG_RUNTIME_DIR");
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(OVELSK_BINARY_DIR "/app/ovelsk"), arguments);
    return &process;
}

ProgramRun run(const QStringList& arguments, const QString& display = {}) {
    testing::ScratchFolder home;
    QProcess process;
    startProgram(process, home, arguments, display);
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

TEST(CommandLine, HelpOrVersionThatCannotBeWrittenExitsOne) {
    for (const char* option : {"--version", "--help"}) {
        testing::ScratchFolder home;
        QProcess process;
        process.setStandardOutputFile(QStringLiteral("/dev/full"));
        startProgram(process, home, {option});
        ASSERT_TRUE(process.waitForFinished());
        EXPECT_EQ(process.exitCode(), 1) << option;
        EXPECT_EQ(process.readAllStandardError(), "ovelsk: cannot write to standard output: No space left on device\n");
    }
}

TEST(CommandLine, AnUnknownOptionOrStrayArgumentPrintsTheUsageOnStandardErrorAndExitsTwoWithoutStarting) {
    for (const QStringList& arguments : {QStringList{"--bogus"}, QStringList{"-x"}, QStringList{"stray"},
                                         QStringList{"--settings"}, QStringList{"--settings="}}) {
        // A display that cannot be opened must not stop the usage from being printed.
        for (const QString& display : {QString(), QStringLiteral(":987")}) {
            SCOPED_TRACE((arguments.join(' ') + " with DISPLAY=" + display).toStdString());
            const ProgramRun refused = run(arguments, display);
            EXPECT_EQ(refused.exitCode, 2);
            EXPECT_THAT(refused.standardOutput, IsEmpty()) << "no status line: the program did not start";
            EXPECT_THAT(refused.standardError, HasSubstr("Usage: ovelsk [options]"));
        }
    }
    EXPECT_THAT(run({"--bogus"}).standardError, StartsWith("Unknown option 'bogus'.\n\nUsage: ovelsk [options]\n"));
}

TEST(CommandLine, SettingsNamesTheHostSettingsFileInsteadOfTheDefault) {
    testing::ScratchFolder home;
    const auto settings = home / "station.ini";
    std::filesystem::create_directories(home / "host");
    testing::writeFile(settings, "[UI-View32]\nProgram Folder=" + (home / "host").string() +
                                     "\nLatitude=40\nLongitude=-105\nFeeds=demo\n");
    QProcess process;
    startProgram(process, home, {"--settings", QString::fromStdString(settings.string())});
    while (!process.canReadLine()) ASSERT_TRUE(process.waitForReadyRead()) << process.readAllStandardError().toStdString();
    EXPECT_EQ(process.readLine(), "v1.0.0\n");
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished());
    EXPECT_EQ(process.exitCode(), 0);

    EXPECT_FALSE(std::filesystem::exists(home / "config" / "Peak Systems")) << "the default file is left alone";
    EXPECT_TRUE(std::filesystem::exists(home / "host" / "Ovelsk.XTR")) << "the add-on registration reads the same file";
}

TEST(CommandLine, AStartThatCannotGoOnExitsOneSayingWhyAndMakesNothing) {
    testing::ScratchFolder home;
    const auto typo = home / "typo" / "station.ini";
    struct Case {
        QStringList arguments;
        QString display, waylandDisplay;
        std::string message;
    };
    for (const auto& [arguments, display, waylandDisplay, message] : std::vector<Case>{
             {{"--settings", QString::fromStdString(typo.string())}, {}, {},
              "ovelsk.app: error: cannot start the host: Host settings " + typo.string() + " does not exist\n"},
             {{}, QStringLiteral(":987"), {},
              "ovelsk.app: error: cannot open the display \":987\"; run with --headless for a service\n"},
             {{}, {}, QString::fromStdString((home / "wayland-9").string()),
              "ovelsk.app: error: cannot open the Wayland display \"" + (home / "wayland-9").string() +
                  "\" (No such file or directory) and DISPLAY is not set; run with --headless for a service\n"},
         }) {
        SCOPED_TRACE(message);
        QProcess process;
        startProgram(process, home, arguments, display, waylandDisplay);
        ASSERT_TRUE(process.waitForFinished());
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 1);
        EXPECT_THAT(process.readAllStandardError().toStdString(), HasSubstr(message));
        EXPECT_FALSE(std::filesystem::exists(home / "typo"));
        EXPECT_FALSE(std::filesystem::exists(home / "config")) << "no demo set-up";
    }
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
