#pragma once
// The program's command line:
//
//   ovelsk [--settings FILE] [--headless]
//   ovelsk --help | --version
//
// Help and version are printed on standard output and end the program with 0; an
// unknown option or a stray argument prints the usage on standard error and
// ends it with 2, before anything starts.

#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>
#include <variant>

namespace ovelsk {

inline constexpr int kUsageExitStatus = 2;

struct CommandLine {
    std::optional<std::filesystem::path> settingsFile;  // instead of the default host settings file
    // --headless has no field: it has done its work before the QApplication is
    // made (needsNoDisplay), and is known here so that it is no unknown option.
};

// The program ends at once with `status`, after printing the texts.
struct CommandLineExit {
    int status = 0;
    QString standardOutput;
    QString standardError;
};

// `arguments` as QCoreApplication::arguments() gives them, the program first.
std::variant<CommandLine, CommandLineExit> parseCommandLine(const QStringList& arguments);

// True when the arguments ask for something that needs no screen (--headless,
// --help or --version). Read before the QApplication exists, which is when the
// platform is chosen; the arguments are checked in full by parseCommandLine.
bool needsNoDisplay(int argc, const char* const* argv);

}  // namespace ovelsk
