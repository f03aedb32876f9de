#include <QApplication>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <unistd.h>

#include "app/app_log.h"
#include "app/background_startup.h"
#include "app/command_line.h"
#include "app/display_check.h"
#include "app/form1.h"
#include "app/headless.h"
#include "app/headless_run.h"
#include "app/message_handler.h"
#include "app/quit_on_signals.h"
#include "app/start_error_box.h"
#include "app/status_output.h"
#include "app/status_page.h"

namespace {

// Why the text could not be written in full (a full disk, a closed pipe), or nullopt.
std::optional<std::string> write(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    const size_t written = std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    if (written == static_cast<size_t>(bytes.size()) && std::fflush(stream) == 0) return std::nullopt;
    return std::strerror(errno);
}

// Runs the event loop with the status page, if the settings ask for one.
int serve(QApplication& app, ovelsk::Companion& companion) {
    const auto statusPage = ovelsk::startStatusPage(companion);
    if (statusPage) companion.noteStatusPage(ovelsk::statusPageUrl(companion, *statusPage));
    return app.exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    // A reader of the status lines that goes away must not end the program.
    std::signal(SIGPIPE, SIG_IGN);
    ovelsk::installMessageHandler();
    // Before the QApplication, whose constructor ends the program when it cannot open the display.
    const auto parsed = ovelsk::parseCommandLine(ovelsk::argumentList(argc, argv));
    if (const auto* exit = std::get_if<ovelsk::CommandLineExit>(&parsed)) {
        const auto notPrinted = write(stdout, exit->standardOutput);
        write(stderr, exit->standardError);
        if (!notPrinted) return exit->status;
        // Help or version text that did not arrive is a failure, whatever asked for it.
        write(stderr, QStringLiteral("ovelsk: cannot write to standard output: %1\n").arg(QString::fromStdString(*notPrinted)));
        return 1;
    }
    const auto& commandLine = std::get<ovelsk::CommandLine>(parsed);
    auto fontConfiguration = ovelsk::readFontConfiguration();
    ovelsk::chooseOffscreenPlatformWhenHeadless(commandLine.headless, argc, argv);
    auto displayCheck = std::make_optional<ovelsk::DisplayCheck>(ovelsk::processEnvironment, commandLine);
    if (const auto& problem = displayCheck->problem()) {
        qCCritical(ovelsk::lcApp, "%s", problem->c_str());
        return 1;
    }
    QApplication app(argc, argv);
    displayCheck.reset();
    fontConfiguration.join();
    ovelsk::QuitOnSignals quitOnSignals;
    const ovelsk::NotesWithoutWaiting notes;

    // Standard output carries the status lines and nothing else, one line each.
    ovelsk::StatusOutput statusOutput(STDOUT_FILENO);
    const auto writeStatus = [&statusOutput](const std::string& line) { statusOutput.writeLine(line); };
    auto options = ovelsk::defaultStartupOptions(commandLine.settingsFile);
    // Nobody sees a window on the offscreen platform: Ovelsk runs as it does headless.
    if (commandLine.headless || QGuiApplication::platformName() == QStringLiteral("offscreen")) {
        ovelsk::HeadlessRun run(std::move(options), writeStatus);
        if (const auto error = run.start()) {
            qCCritical(ovelsk::lcApp, "%s", error->c_str());
            return 1;
        }
        return serve(app, run.companion());
    }
    const auto settingsFile = options.hostSettingsFile;
    ovelsk::Form1 form(std::move(options));
    QObject::connect(&form, &ovelsk::Form1::statusChanged,
                     [&writeStatus](const QString& text) { writeStatus(text.toStdString()); });
    if (const auto error = form.Form_Load()) {
        qCCritical(ovelsk::lcApp, "%s", error->c_str());
        ovelsk::showStartError(ovelsk::startErrorText(*error, settingsFile));
        return 1;
    }
    form.show();
    return serve(app, form.companion());
}
