#include "app/command_line.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <string_view>

namespace ovelsk {
namespace {

constexpr char kDescription[] =
    "Keeps an APRS iGate's Internet-to-RF list: the stations heard nearby through the\n"
    "Internet but not on radio. Shows them in a list and on a radar.\n"
    "Settings: the host settings file (see --settings); the range in Ovelsk.ini.\n"
    "More in the manual page ovelsk(1).";

}  // namespace

std::variant<CommandLine, CommandLineExit> parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    const QCommandLineOption settings(
        QStringLiteral("settings"),
        QStringLiteral("Use the host settings file FILE instead of $XDG_CONFIG_HOME/Peak Systems/UI-View32.ini "
                       "(written with the demo set-up if missing)."),
        QStringLiteral("FILE"));
    const QCommandLineOption headless(
        QStringLiteral("headless"), QStringLiteral("Run without a window (Qt's offscreen platform), even where a display exists."));
    parser.addOptions({help, version, settings, headless});

    // Qt's help names the program as it was started, path and all; the usage names it as it is typed.
    const auto helpText = [&] {
        QString text = parser.helpText();
        const QString started = arguments.value(0);
        if (!started.isEmpty() && text.startsWith(QStringLiteral("Usage: ") + started))
            text.replace(7, started.size(), QFileInfo(started).fileName());
        return text;
    };
    const auto usageError = [&](const QString& problem) {
        return CommandLineExit{kUsageExitStatus, {}, problem + QStringLiteral("\n\n") + helpText()};
    };
    if (!parser.parse(arguments)) return usageError(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return usageError(QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().constFirst()));
    if (parser.isSet(help)) return CommandLineExit{0, helpText(), {}};
    if (parser.isSet(version)) return CommandLineExit{0, QStringLiteral("Ovelsk " OVELSK_VERSION "\n"), {}};

    CommandLine commandLine;
    if (parser.isSet(settings)) {
        const QString file = parser.value(settings);
        if (file.isEmpty()) return usageError(QStringLiteral("--settings needs a file name."));
        commandLine.settingsFile = QFileInfo(file).absoluteFilePath().toStdString();
    }
    return commandLine;
}

bool needsNoDisplay(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--") break;
        if (arg == "--headless" || arg == "--help" || arg == "-h" || arg == "--version" || arg == "-v") return true;
    }
    return false;
}

}  // namespace ovelsk
