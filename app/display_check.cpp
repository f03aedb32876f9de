#include "app/display_check.h"

#include <xcb/xcb.h>

namespace ovelsk {

std::optional<std::string> xDisplayToOpen(const EnvironmentLookup& environment, const CommandLine& commandLine) {
    std::string platform = commandLine.platform.toStdString();
    if (platform.empty()) platform = environment("QT_QPA_PLATFORM").value_or("");
    platform = platform.substr(0, platform.find(':'));  // "xcb:option" names the platform xcb
    std::string display = commandLine.display.toStdString();
    if (display.empty()) display = environment("DISPLAY").value_or("");
    if (platform.empty()) {
        if (display.empty() || !environment("WAYLAND_DISPLAY").value_or("").empty()) return std::nullopt;
    } else if (platform != "xcb") {
        return std::nullopt;
    }
    return display;
}

DisplayCheck::DisplayCheck(const EnvironmentLookup& environment, const CommandLine& commandLine) {
    const auto display = xDisplayToOpen(environment, commandLine);
    if (!display) return;
    connection_ = xcb_connect(display->empty() ? nullptr : display->c_str(), nullptr);
    if (xcb_connection_has_error(connection_) == 0) return;
    const std::string named = display->empty() ? "(DISPLAY is not set)" : "\"" + *display + "\"";
    problem_ = "cannot open the display " + named + "; run with --headless for a service";
}

DisplayCheck::~DisplayCheck() {
    if (connection_) xcb_disconnect(connection_);
}

}  // namespace ovelsk
