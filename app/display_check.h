#pragma once
// Qt ends the program with an abort (and advice to reinstall) when the X display
// it is to open cannot be opened, say a stale DISPLAY in a service or an ssh
// session. Opening it once before the QApplication exists turns that into a
// plain message.

#include <optional>
#include <string>

#include "app/command_line.h"
#include "app/headless.h"

namespace ovelsk {

// The X display Qt is going to open ("" for the default of an X platform chosen
// by name), or nullopt where Qt uses no X display: the offscreen platform,
// another platform chosen, or a Wayland session it may use instead.
std::optional<std::string> xDisplayToOpen(const EnvironmentLookup& environment, const CommandLine& commandLine);

// Why the display Qt is going to open cannot be opened, or nullopt when it can
// or is no X display.
std::optional<std::string> displayProblem(const EnvironmentLookup& environment, const CommandLine& commandLine);

}  // namespace ovelsk
