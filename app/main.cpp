#include <QApplication>
#include <csignal>
#include <cstdio>

#include "app/form1.h"
#include "app/headless.h"
#include "app/quit_on_signals.h"

namespace {

// Standard output carries the status lines and nothing else, one line each, at once.
void writeStatusLine(const QString& text) {
    const QByteArray line = text.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char* argv[]) {
    // A reader of the status lines that goes away must not end the program.
    std::signal(SIGPIPE, SIG_IGN);
    ovelsk::chooseOffscreenPlatformWhenHeadless(argc, argv);
    QApplication app(argc, argv);
    ovelsk::QuitOnSignals quitOnSignals;

    ovelsk::Form1 form(ovelsk::defaultStartupOptions());
    QObject::connect(&form, &ovelsk::Form1::statusChanged, &writeStatusLine);
    if (const auto error = form.Form_Load()) {
        std::fprintf(stderr, "Ovelsk: %s\n", error->c_str());
        return 1;
    }
    form.show();
    return app.exec();
}
