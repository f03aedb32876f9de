#pragma once
// The program's command line:
//
//   ovelsk [--settings FILE] [--headless]
//   ovelsk --help | --version
//
// Help and version are printed on standard output and end the program with 0; an
// unknown option or a stray argument prints the usage on standard error and
// ends it with 2, before anything starts. Qt's own options (-platform NAME, ...)
// are known too: the command line is read before the QApplication exists, whose
// constructor ends the program when the display cannot be opened.

#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>
#include <variant>

namespace ovelsk {

inline constexpr int kUsageExitStatus = 2;

struct CommandLine {
    std::optional<std::filesystem::path> settingsFile;  // instead of the default host settings file
    bool headless = false;
    QString platform;  // Qt's -platform, else empty
    QString display;   // Qt's -display (the X display), else empty
};

// The program ends at once with `status`, after printing the texts.
struct CommandLineExit {
    int status = 0;
    QString standardOutput;
    QString standardError;
};

// `arguments` as main() has them, the program first, Qt's options included.
std::variant<CommandLine, CommandLineExit> parseCommandLine(const QStringList& arguments);

// main()'s arguments as text.
QStringList argumentList(int argc, const char* const* argv);

}  // namespace ovelsk
