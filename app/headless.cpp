#include "app/headless.h"

#include <cstdlib>
#include <string_view>


namespace ovelsk {
namespace {

bool isSet(const EnvironmentLookup& environment, const char* name) {
    const auto value = environment(name);
    return value && !value->empty();
}

// Qt reads "-platform NAME", also written "--platform NAME".
bool platformArgumentGiven(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-platform" || arg == "--platform") return true;
    }
    return false;
}

}  // namespace

bool needsOffscreenPlatform(const EnvironmentLookup& environment, int argc, const char* const* argv) {
    if (isSet(environment, "DISPLAY") || isSet(environment, "WAYLAND_DISPLAY")) return false;
    if (isSet(environment, "QT_QPA_PLATFORM")) return false;
    return !platformArgumentGiven(argc, argv);
}

std::optional<std::string> processEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (!value) return std::nullopt;
    return std::string(value);
}

void chooseOffscreenPlatformWhenHeadless(bool headless, int argc, const char* const* argv) {
    if (headless || needsOffscreenPlatform(processEnvironment, argc, argv)) setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

}  // namespace ovelsk
