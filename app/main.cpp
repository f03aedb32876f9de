#include <QApplication>
#include <csignal>
#include <cstdio>
#include <unistd.h>

#include "app/app_log.h"
#include "app/command_line.h"
#include "app/form1.h"
#include "app/headless.h"
#include "app/message_handler.h"
#include "app/quit_on_signals.h"
#include "app/status_output.h"
#include "app/status_page.h"

namespace {

void write(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

}  // namespace

int main(int argc, char* argv[]) {
    // A reader of the status lines that goes away must not end the program.
    std::signal(SIGPIPE, SIG_IGN);
    ovelsk::installMessageHandler();
    ovelsk::chooseOffscreenPlatformWhenHeadless(argc, argv);
    QApplication app(argc, argv);
    // Qt has taken its own options (-platform, ...) out of the arguments by now.
    const auto parsed = ovelsk::parseCommandLine(QCoreApplication::arguments());
    if (const auto* exit = std::get_if<ovelsk::CommandLineExit>(&parsed)) {
        write(stdout, exit->standardOutput);
        write(stderr, exit->standardError);
        return exit->status;
    }
    const auto& commandLine = std::get<ovelsk::CommandLine>(parsed);
    ovelsk::QuitOnSignals quitOnSignals;
    const ovelsk::NotesWithoutWaiting notes;

    // Standard output carries the status lines and nothing else, one line each.
    ovelsk::StatusOutput statusOutput(STDOUT_FILENO);
    ovelsk::Form1 form(commandLine.settingsFile ? ovelsk::defaultStartupOptions(*commandLine.settingsFile)
                                               : ovelsk::defaultStartupOptions());
    QObject::connect(&form, &ovelsk::Form1::statusChanged,
                     [&statusOutput](const QString& text) { statusOutput.writeLine(text.toStdString()); });
    if (const auto error = form.Form_Load()) {
        qCCritical(ovelsk::lcApp, "%s", error->c_str());
        return 1;
    }
    const auto statusPage = ovelsk::startStatusPage(form);
    form.show();
    return app.exec();
}
