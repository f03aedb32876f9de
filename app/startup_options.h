#pragma once
// Everything the window takes from the world outside it at start-up. The program
// passes the real ones (defaultStartupOptions); tests pass a temporary program
// folder, a fixed clock and a scripted host.

#include <filesystem>
#include <functional>
#include <memory>

#include "app/create_host.h"
#include "host/date_time.h"

namespace ovelsk {

struct StartupOptions {
    // The folder of the running executable: settings live here.
    std::filesystem::path programFolder;
    // The running executable, as the host is told to start it.
    std::filesystem::path executable;
    // The host's saved settings, which name the host's program folder.
    std::filesystem::path hostSettingsFile;
    const Clock* clock = nullptr;
    std::function<HostOrError()> createHost;
};

// The options of the running program; needs the QCoreApplication to exist.
StartupOptions defaultStartupOptions();

}  // namespace ovelsk
