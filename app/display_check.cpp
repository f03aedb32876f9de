#include "app/display_check.h"

#include <QDir>
#include <QLibraryInfo>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace ovelsk {
namespace {

std::string platformChosen(const EnvironmentLookup& environment, const CommandLine& commandLine) {
    std::string platform = commandLine.platform.toStdString();
    if (platform.empty()) platform = environment("QT_QPA_PLATFORM").value_or("");
    return platform.substr(0, platform.find(':'));  // "xcb:option" names the platform xcb
}

// Why nothing listens on the socket, or nullopt when something does.
std::optional<std::string> connectionRefusal(const std::filesystem::path& socketPath) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = socketPath.string();
    if (path.size() >= sizeof address.sun_path) return std::strerror(ENAMETOOLONG);
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0) return std::strerror(errno);
    const bool connected = ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    const int error = errno;
    ::close(socket);
    if (connected) return std::nullopt;
    return std::strerror(error);
}

// Qt looks for its platforms in its plugin folder and in QT_PLUGIN_PATH.
bool waylandPlatformInstalled(const EnvironmentLookup& environment) {
    QStringList folders = QString::fromStdString(environment("QT_PLUGIN_PATH").value_or("")).split(u':', Qt::SkipEmptyParts);
    folders.append(QLibraryInfo::path(QLibraryInfo::PluginsPath));
    for (const QString& folder : folders) {
        const QDir platforms(folder + QStringLiteral("/platforms"));
        if (!platforms.entryList({QStringLiteral("libqwayland*.so")}, QDir::Files).isEmpty()) return true;
    }
    return false;
}

}  // namespace

std::optional<std::string> xDisplayToOpen(const EnvironmentLookup& environment, const CommandLine& commandLine) {
    const std::string platform = platformChosen(environment, commandLine);
    std::string display = commandLine.display.toStdString();
    if (display.empty()) display = environment("DISPLAY").value_or("");
    if (platform.empty()) {
        if (display.empty() || !environment("WAYLAND_DISPLAY").value_or("").empty()) return std::nullopt;
    } else if (platform != "xcb") {
        return std::nullopt;
    }
    return display;
}

std::optional<std::filesystem::path> waylandSocketToOpen(const EnvironmentLookup& environment,
                                                         const CommandLine& commandLine) {
    const std::string platform = platformChosen(environment, commandLine);
    if (platform.empty()) {
        if (!commandLine.display.isEmpty() || !environment("DISPLAY").value_or("").empty()) return std::nullopt;
    } else if (!platform.starts_with("wayland")) {
        return std::nullopt;
    }
    std::filesystem::path name = environment("WAYLAND_DISPLAY").value_or("");
    if (name.empty()) {
        if (platform.empty()) return std::nullopt;
        name = "wayland-0";  // the Wayland library's default
    }
    if (name.is_absolute()) return name;
    return std::filesystem::path(environment("XDG_RUNTIME_DIR").value_or("")) / name;
}

DisplayCheck::DisplayCheck(const EnvironmentLookup& environment, const CommandLine& commandLine) {
    if (const auto socket = waylandSocketToOpen(environment, commandLine)) {
        checkWayland(environment, *socket);
        return;
    }
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

void DisplayCheck::checkWayland(const EnvironmentLookup& environment, const std::filesystem::path& socket) {
    const std::string hint = std::string(environment("DISPLAY").value_or("").empty() ? " and DISPLAY is not set" : "") +
                             "; run with --headless for a service";
    const auto refusal = socket.is_absolute() ? connectionRefusal(socket) : std::string("XDG_RUNTIME_DIR is not set");
    if (refusal) {
        problem_ = "cannot open the Wayland display \"" + socket.string() + "\" (" + *refusal + ")" + hint;
    } else if (!waylandPlatformInstalled(environment)) {
        problem_ = "Qt's Wayland platform (package qt6-wayland) is not installed" + hint;
    }
}

}  // namespace ovelsk
