#pragma once
// An iGate often has no screen. Without a display, and unless the user chose a
// Qt platform, Ovelsk runs on Qt's offscreen platform and keeps its list all the
// same; the status lines on standard output show what it does.

#include <functional>
#include <optional>
#include <string>

namespace ovelsk {

using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

// True when neither DISPLAY nor WAYLAND_DISPLAY is set (or both are empty), and
// neither QT_QPA_PLATFORM nor a -platform argument names a platform.
bool needsOffscreenPlatform(const EnvironmentLookup& environment, int argc, const char* const* argv);

// Sets QT_QPA_PLATFORM=offscreen when needsOffscreenPlatform, or when the command
// line asks for no display (--headless) whatever the environment says; call
// before the QApplication is made.
void chooseOffscreenPlatformWhenHeadless(bool headless, int argc, const char* const* argv);

// The environment of the running program.
std::optional<std::string> processEnvironment(const char* name);

}  // namespace ovelsk
