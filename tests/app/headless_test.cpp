// Choosing the offscreen platform when there is no display, and the running
// program's standard output and signal handling.
#include <QProcess>
#include <QProcessEnvironment>
#include <csignal>
#include <gtest/gtest.h>
#include <map>

#include "app/headless.h"
#include "form_harness.h"

namespace ovelsk::test {
namespace {

bool needsOffscreen(std::map<std::string, std::string> env, std::vector<const char*> args = {"ovelsk"}) {
    const auto lookup = [&env](const char* name) -> std::optional<std::string> {
        const auto found = env.find(name);
        if (found == env.end()) return std::nullopt;
        return found->second;
    };
    return needsOffscreenPlatform(lookup, static_cast<int>(args.size()), args.data());
}

TEST(Headless, OffscreenOnlyWithoutADisplayAndWithoutAPlatformChoice) {
    EXPECT_TRUE(needsOffscreen({}));
    EXPECT_TRUE(needsOffscreen({{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}}));
    EXPECT_FALSE(needsOffscreen({{"DISPLAY", ":0"}}));
    EXPECT_FALSE(needsOffscreen({{"WAYLAND_DISPLAY", "wayland-0"}}));
    EXPECT_FALSE(needsOffscreen({{"QT_QPA_PLATFORM", "vnc"}}));
    EXPECT_FALSE(needsOffscreen({}, {"ovelsk", "-platform", "vnc"}));
    EXPECT_FALSE(needsOffscreen({}, {"ovelsk", "--platform", "vnc"}));
    EXPECT_TRUE(needsOffscreen({}, {"ovelsk", "platform"}));
}

// The program itself, with no display and no platform chosen.
TEST(RunningProgram, WritesItsStatusLinesAloneToStandardOutputAndEndsCleanlyOnSigtermOrSigint) {
    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        testing::ScratchFolder config;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
        // The host's settings and data go to a folder of the test's own.
        env.insert("XDG_CONFIG_HOME", QString::fromStdString((config / "config").string()));
        env.insert("XDG_DATA_HOME", QString::fromStdString((config / "data").string()));
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(OVELSK_BINARY_DIR "/app/ovelsk"), {});
        // Start-up writes its first status line before the event loop runs.
        while (!process.canReadLine()) ASSERT_TRUE(process.waitForReadyRead());
        EXPECT_EQ(process.readLine(), "v1.0.0\n");

        ::kill(static_cast<pid_t>(process.processId()), signal);
        ASSERT_TRUE(process.waitForFinished());
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0);
    }
}

}  // namespace
}  // namespace ovelsk::test
