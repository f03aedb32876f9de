// links: ovelsk_window
// From process start to the window shown, and the process's peak memory, on the
// offscreen platform. Each iteration starts this program anew in a child mode
// that does what ovelsk's main does, up to the window being on screen, and exits.
// A bare Qt window is measured the same way for comparison, and one that shows a
// single line of text, which is where the font machinery's cost starts.
#include <QApplication>
#include <QLabel>
#include <QWindow>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/background_startup.h"
#include "app/form1.h"
#include "app/headless.h"

extern char** environ;

namespace {

constexpr char kShowOvelsk[] = "--show-ovelsk";
constexpr char kShowBareWindow[] = "--show-bare-window";
constexpr char kShowLabelledWindow[] = "--show-labelled-window";

void waitUntilShown(QApplication& app, QWidget& window) {
    window.show();
    while (!window.windowHandle() || !window.windowHandle()->isExposed()) app.processEvents(QEventLoop::WaitForMoreEvents);
    app.processEvents();
}

enum class Shown { Ovelsk, BareWindow, LabelledWindow };

int showAndExit(int argc, char* argv[], Shown shown) {
    // Ovelsk's main reads the font configuration beside Qt's start; the bare windows do not.
    std::jthread fontConfiguration;
    if (shown == Shown::Ovelsk) fontConfiguration = ovelsk::readFontConfiguration();
    ovelsk::chooseOffscreenPlatformWhenHeadless(false, argc, argv);
    QApplication app(argc, argv);
    if (fontConfiguration.joinable()) fontConfiguration.join();
    if (shown == Shown::Ovelsk) {
        ovelsk::Form1 form(ovelsk::defaultStartupOptions());
        if (form.Form_Load()) return 1;
        waitUntilShown(app, form);
    } else {
        QWidget window;
        window.resize(516, 337);
        if (shown == Shown::LabelledWindow) new QLabel(QStringLiteral("Enable RADAR"), &window);
        waitUntilShown(app, window);
    }
    // Measured up to here; tearing down is not part of start-up.
    std::fflush(stdout);
    _exit(0);
}

struct ChildRun {
    double seconds;
    long peakKilobytes;
};

ChildRun runChild(const char* mode) {
    std::string self = "/proc/self/exe";
    char* const args[] = {self.data(), const_cast<char*>(mode), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, self.c_str(), &actions, nullptr, args, environ) != 0) return {-1, 0};
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const auto end = std::chrono::steady_clock::now();
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return {-1, 0};
    return {std::chrono::duration<double>(end - start).count(), usage.ru_maxrss};
}

void measure(benchmark::State& state, const char* mode) {
    long peak = 0;
    for (auto _ : state) {
        const auto run = runChild(mode);
        if (run.seconds < 0) {
            state.SkipWithError("the child did not start and exit cleanly");
            return;
        }
        state.SetIterationTime(run.seconds);
        peak = std::max(peak, run.peakKilobytes);
    }
    state.counters["peak_MB"] = static_cast<double>(peak) / 1024.0;
}

void BM_OvelskWindowShown(benchmark::State& state) { measure(state, kShowOvelsk); }
void BM_BareQtWindowShown(benchmark::State& state) { measure(state, kShowBareWindow); }
void BM_LabelledQtWindowShown(benchmark::State& state) { measure(state, kShowLabelledWindow); }

BENCHMARK(BM_OvelskWindowShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(3)
    ->ReportAggregatesOnly();
BENCHMARK(BM_BareQtWindowShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(3)
    ->ReportAggregatesOnly();
BENCHMARK(BM_LabelledQtWindowShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(3)
    ->ReportAggregatesOnly();

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 2 && std::strcmp(argv[1], kShowOvelsk) == 0) return showAndExit(argc, argv, Shown::Ovelsk);
    if (argc == 2 && std::strcmp(argv[1], kShowBareWindow) == 0) return showAndExit(argc, argv, Shown::BareWindow);
    if (argc == 2 && std::strcmp(argv[1], kShowLabelledWindow) == 0) return showAndExit(argc, argv, Shown::LabelledWindow);
    // Children run on the offscreen platform whatever display this shell has,
    // unless QT_QPA_PLATFORM names another (xcb, to measure on an X server), and
    // keep the host's settings and data (the demo set up on the first start) in
    // a folder of their own.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    char scratch[] = "/tmp/ovelsk-bench-XXXXXX";
    if (!mkdtemp(scratch)) return 1;
    setenv("XDG_CONFIG_HOME", (std::string(scratch) + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (std::string(scratch) + "/data").c_str(), 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(scratch);
    return 0;
}
