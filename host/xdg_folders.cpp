#include "host/xdg_folders.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace ovelsk {
namespace {

// $HOME, else the home folder in the user database (a service may run without HOME).
std::filesystem::path homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir) return user->pw_dir;
    return {};
}

std::filesystem::path xdgFolder(const char* variable, const std::filesystem::path& underHome) {
    if (const char* value = std::getenv(variable); value && *value == '/') return value;
    return homeFolder() / underHome;
}

}  // namespace

std::filesystem::path xdgConfigHome() { return xdgFolder("XDG_CONFIG_HOME", ".config"); }

std::filesystem::path xdgDataHome() { return xdgFolder("XDG_DATA_HOME", std::filesystem::path(".local") / "share"); }

}  // namespace ovelsk
