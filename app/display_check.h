#pragma once
// Qt ends the program with an abort (and advice to reinstall) when the X display
// it is to open cannot be opened, say a stale DISPLAY in a service or an ssh
// session. Opening it first, before the QApplication exists, turns that into a
// plain message.

#include <filesystem>
#include <optional>
#include <string>

#include "app/command_line.h"
#include "app/headless.h"

struct xcb_connection_t;

namespace ovelsk {

// The X display Qt is going to open ("" for the default of an X platform chosen
// by name), or nullopt where Qt uses no X display: the offscreen platform,
// another platform chosen, or a Wayland session it may use instead.
std::optional<std::string> xDisplayToOpen(const EnvironmentLookup& environment, const CommandLine& commandLine);

// The socket of the Wayland display Qt would have to use, or nullopt where it
// has another way to a screen: without DISPLAY and a platform chosen, a set
// WAYLAND_DISPLAY is Qt's only way ($XDG_RUNTIME_DIR/NAME, or NAME when it is a
// path), and so is the platform wayland chosen by name.
std::optional<std::filesystem::path> waylandSocketToOpen(const EnvironmentLookup& environment,
                                                         const CommandLine& commandLine);

// Opens the display Qt is going to open, if that is an X display, and holds it
// open until destroyed (a Wayland display is only tried, and Qt's platform for
// it looked for): an X server with no other client (Xvfb) resets when its
// last client leaves, and would be resetting just as Qt connects. Destroy it once
// the QApplication exists.
class DisplayCheck {
public:
    DisplayCheck(const EnvironmentLookup& environment, const CommandLine& commandLine);
    ~DisplayCheck();
    DisplayCheck(const DisplayCheck&) = delete;
    DisplayCheck& operator=(const DisplayCheck&) = delete;

    // Why the display cannot be opened, or nullopt when it can or is none Qt needs.
    const std::optional<std::string>& problem() const { return problem_; }

private:
    void checkWayland(const EnvironmentLookup& environment, const std::filesystem::path& socket);

    xcb_connection_t* connection_ = nullptr;
    std::optional<std::string> problem_;
};

}  // namespace ovelsk
