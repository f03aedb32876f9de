#include <QApplication>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <unistd.h>

#include "app/form1.h"
#include "app/headless.h"
#include "app/quit_on_signals.h"
#include "app/status_output.h"

int main(int argc, char* argv[]) {
    // A reader of the status lines that goes away must not end the program.
    std::signal(SIGPIPE, SIG_IGN);
    ovelsk::chooseOffscreenPlatformWhenHeadless(argc, argv);
    QApplication app(argc, argv);
    ovelsk::QuitOnSignals quitOnSignals;

    // Standard output carries the status lines and nothing else, one line each.
    ovelsk::StatusOutput statusOutput(STDOUT_FILENO, std::cerr);
    ovelsk::Form1 form(ovelsk::defaultStartupOptions());
    QObject::connect(&form, &ovelsk::Form1::statusChanged,
                     [&statusOutput](const QString& text) { statusOutput.writeLine(text.toStdString()); });
    if (const auto error = form.Form_Load()) {
        std::fprintf(stderr, "Ovelsk: %s\n", error->c_str());
        return 1;
    }
    form.show();
    return app.exec();
}
