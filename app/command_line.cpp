#include "app/command_line.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace ovelsk {
namespace {

constexpr char kDescription[] =
    "Keeps an APRS iGate's Internet-to-RF list: the stations heard nearby through the\n"
    "Internet but not on radio. Shows them in a list and on a radar.\n"
    "Settings: the host settings file (see --settings); the range in Ovelsk.ini.\n"
    "More in the manual page ovelsk(1).";

// The options QGuiApplication, QApplication and Qt's X11 platform take out of the
// arguments themselves (Qt writes them with one dash or two).
const char* const kQtOptionsWithValue[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "qwindowicon", "qwindowtitle",
    "session", "qmljsdebugger", "display", "geometry", "title", "icon", "name", "visual", "ncols", "cmap", "style",
    "stylesheet"};
const char* const kQtFlags[] = {"reverse", "widgetcount", "testability", "nograb", "dograb", "sync"};

QCommandLineOption hiddenOption(const char* name, const QString& valueName = {}) {
    QCommandLineOption option(QString::fromLatin1(name), QString(), valueName);
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    return option;
}

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
        QStringLiteral("Use the host settings file FILE, which must exist, instead of $XDG_CONFIG_HOME/Peak "
                       "Systems/UI-View32.ini (which a first start writes with the demo set-up)."),
        QStringLiteral("FILE"));
    const QCommandLineOption headless(
        QStringLiteral("headless"), QStringLiteral("Run without a window (Qt's offscreen platform), even where a display exists."));
    parser.addOptions({help, version, settings, headless});
    // Qt's options are single words after one dash ("-platform"), so that is how words after one dash are read.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const char* name : kQtOptionsWithValue) parser.addOption(hiddenOption(name, QStringLiteral("VALUE")));
    for (const char* name : kQtFlags) parser.addOption(hiddenOption(name));

    // The usage names the program as it is typed, without the path it was started by.
    const auto helpText = [&] {
        QString text = parser.helpText();
        const QString usage = QStringLiteral("Usage: ");
        const auto nameEnd = text.indexOf(QLatin1Char(' '), usage.size());
        if (text.startsWith(usage) && nameEnd > 0)
            text.replace(usage.size(), nameEnd - usage.size(), QFileInfo(arguments.value(0)).fileName());
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
    commandLine.headless = parser.isSet(headless);
    commandLine.platform = parser.value(QStringLiteral("platform"));
    commandLine.display = parser.value(QStringLiteral("display"));
    return commandLine;
}

QStringList argumentList(int argc, const char* const* argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

}  // namespace ovelsk
