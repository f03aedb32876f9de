#pragma once
// Everything the window takes from the world outside it at start-up. The program
// passes the real ones (defaultStartupOptions); tests pass a temporary program
// folder, a fixed clock and a scripted host.

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "app/create_host.h"
#include "host/date_time.h"
#include "host/host_settings.h"

namespace ovelsk {

struct StartupOptions {
    // The folder of the running executable: settings live here.
    std::filesystem::path programFolder;
    // Where the range setting goes instead when the program's folder is not writable.
    std::filesystem::path userSettingsFolder;
    // The running executable, as the host is told to start it.
    std::filesystem::path executable;
    // The host's saved settings, which name the host's program folder.
    std::filesystem::path hostSettingsFile;
    const Clock* clock = nullptr;
    // Given the range setting, in the host's unit, for the host's Internet feed.
    std::function<HostOrError(float range)> createHost;
};

// The options of the running program, with the host settings in the file the
// command line names (which must exist) or else in the default file (set up for
// the demo on a first start); needs the QCoreApplication to exist.
StartupOptions defaultStartupOptions(const std::optional<std::filesystem::path>& namedSettingsFile = std::nullopt);

}  // namespace ovelsk
