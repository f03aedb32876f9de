// Choosing the offscreen platform when there is no display, and the running
// program's standard output and signal handling.
#include <QDeadlineTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <map>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/display_check.h"
#include "app/headless.h"
#include "form_harness.h"

namespace ovelsk::test {
namespace {

EnvironmentLookup lookupIn(const std::map<std::string, std::string>& env) {
    return [&env](const char* name) -> std::optional<std::string> {
        const auto found = env.find(name);
        if (found == env.end()) return std::nullopt;
        return found->second;
    };
}

bool needsOffscreen(std::map<std::string, std::string> env, std::vector<const char*> args = {"ovelsk"}) {
    return needsOffscreenPlatform(lookupIn(env), static_cast<int>(args.size()), args.data());
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

// Only a display that Qt is going to open is opened first: the X display, or
// the Wayland socket where that is Qt's only way to a screen.
TEST(Headless, TheDisplayCheckedFirstIsTheOneQtOpens) {
    struct Case {
        std::map<std::string, std::string> env;
        QString platform, display;  // from the command line
        std::optional<std::string> checked;
        std::optional<std::filesystem::path> waylandSocket = {};
    };
    for (const auto& [env, platform, display, checked, waylandSocket] : std::vector<Case>{
             {{{"DISPLAY", ":0"}}, {}, {}, ":0"},
             {{{"DISPLAY", ":0"}}, {}, ":5", ":5"},
             {{}, {}, {}, std::nullopt},
             {{{"DISPLAY", ":0"}, {"WAYLAND_DISPLAY", "wayland-0"}}, {}, {}, std::nullopt},
             {{{"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "offscreen"}}, {}, {}, std::nullopt},
             {{{"DISPLAY", ":0"}}, "vnc", {}, std::nullopt},
             {{{"QT_QPA_PLATFORM", "xcb"}}, {}, {}, ""},
             {{{"DISPLAY", ":0"}, {"WAYLAND_DISPLAY", "wayland-0"}}, "xcb:nograb", {}, ":0"},
             {{{"WAYLAND_DISPLAY", "wayland-1"}, {"XDG_RUNTIME_DIR", "/run/user/1000"}}, {}, {}, std::nullopt,
              "/run/user/1000/wayland-1"},
             {{{"WAYLAND_DISPLAY", "/run/compositor/w"}, {"XDG_RUNTIME_DIR", "/run/user/1000"}}, {}, {}, std::nullopt,
              "/run/compositor/w"},
             {{{"WAYLAND_DISPLAY", "wayland-1"}}, {}, {}, std::nullopt, "wayland-1"},
             {{{"WAYLAND_DISPLAY", "wayland-1"}}, {}, ":5", std::nullopt},
             {{{"WAYLAND_DISPLAY", "wayland-1"}, {"QT_QPA_PLATFORM", "offscreen"}}, {}, {}, std::nullopt},
             {{{"DISPLAY", ":0"}, {"XDG_RUNTIME_DIR", "/run/user/1000"}}, "wayland", {}, std::nullopt,
              "/run/user/1000/wayland-0"},
         }) {
        CommandLine commandLine;
        commandLine.platform = platform;
        commandLine.display = display;
        EXPECT_EQ(xDisplayToOpen(lookupIn(env), commandLine), checked) << platform.toStdString() << " " << display.toStdString();
        EXPECT_EQ(waylandSocketToOpen(lookupIn(env), commandLine), waylandSocket) << platform.toStdString();
    }
}

// The program itself, with no display and no platform chosen.
TEST(RunningProgram, WritesItsStatusLinesAloneToStandardOutputAndEndsCleanlyOnSigtermSigintOrSighup) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
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
        EXPECT_NE(process.readAllStandardError().indexOf("ovelsk.decode: decoded "), -1) << "the summary at exit";
    }
}

// A reader that stops reading (a pager left open) fills the pipe; the program
// goes on and still ends on SIGTERM.
TEST(RunningProgram, EndsOnSigtermWhileNobodyReadsItsStandardOutput) {
    testing::ScratchFolder home;
    std::filesystem::create_directories(home / "config" / "Peak Systems");
    std::filesystem::create_directories(home / "host");
    testing::writeFile(home / "config" / "Peak Systems" / "UI-View32.ini",
                       "[UI-View32]\nProgram Folder=" + (home / "host").string() +
                           "/\nLatitude=40.015\nLongitude=-105.2705\nFeeds=demo\nReplay Speed=10000\n");
    std::vector<std::string> environment;
    for (char** variable = environ; *variable; ++variable) {
        const std::string_view text = *variable;
        const std::string_view name = text.substr(0, text.find('='));
        if (name != "DISPLAY" && name != "WAYLAND_DISPLAY" && name != "QT_QPA_PLATFORM" && !name.starts_with("XDG_"))
            environment.emplace_back(text);
    }
    environment.push_back("XDG_CONFIG_HOME=" + (home / "config").string());
    environment.push_back("XDG_DATA_HOME=" + (home / "data").string());
    std::vector<char*> envp;
    for (auto& variable : environment) envp.push_back(variable.data());
    envp.push_back(nullptr);

    int out[2];
    ASSERT_EQ(::pipe2(out, O_CLOEXEC), 0);
    ::fcntl(out[0], F_SETPIPE_SZ, 4096);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char program[] = OVELSK_BINARY_DIR "/app/ovelsk";
    char* argv[] = {program, nullptr};
    pid_t pid = 0;
    ASSERT_EQ(::posix_spawn(&pid, program, &actions, nullptr, argv, envp.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);

    const auto waitUntil = [](const std::function<bool()>& done) {
        for (QDeadlineTimer deadline(20000); !done(); ::usleep(10000))
            if (deadline.hasExpired()) return false;
        return true;
    };
    EXPECT_TRUE(waitUntil([&] {
        int unread = 0;
        return ::ioctl(out[0], FIONREAD, &unread) == 0 && unread > 4096 - 100;
    })) << "the demo fills the pipe";
    ::kill(pid, SIGTERM);
    int status = 0;
    const bool ended = waitUntil([&] { return ::waitpid(pid, &status, WNOHANG) == pid; });
    if (!ended) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
    }
    ::close(out[0]);
    EXPECT_TRUE(ended);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
}  // namespace ovelsk::test
