#include "app/startup_options.h"

#include <QCoreApplication>

#include "app/create_host.h"
#include "app/range_settings.h"

namespace ovelsk {

StartupOptions defaultStartupOptions(const std::optional<std::filesystem::path>& namedSettingsFile) {
    const auto hostSettingsFile = namedSettingsFile.value_or(HostSettings::defaultPath());
    const bool firstStartWhenMissing = !namedSettingsFile;
    // Intervals from a clock that never steps, anchored to the wall clock now.
    static const SteadyClock clock;
    StartupOptions options;
    options.programFolder = QCoreApplication::applicationDirPath().toStdString();
    options.userSettingsFolder = defaultUserSettingsFolder();
    options.executable = QCoreApplication::applicationFilePath().toStdString();
    options.hostSettingsFile = hostSettingsFile;
    options.clock = &clock;
    options.createHost = [hostSettingsFile, firstStartWhenMissing](float range) {
        return createHost(range, hostSettingsFile, firstStartWhenMissing, clock);
    };
    return options;
}

}  // namespace ovelsk
