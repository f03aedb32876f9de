#include "app/startup_options.h"

#include <QCoreApplication>

#include "app/create_host.h"
#include "app/range_settings.h"

namespace ovelsk {

StartupOptions defaultStartupOptions(std::filesystem::path hostSettingsFile) {
    // Intervals from a clock that never steps, anchored to the wall clock now.
    static const SteadyClock clock;
    StartupOptions options;
    options.programFolder = QCoreApplication::applicationDirPath().toStdString();
    options.userSettingsFolder = defaultUserSettingsFolder();
    options.executable = QCoreApplication::applicationFilePath().toStdString();
    options.hostSettingsFile = hostSettingsFile;
    options.clock = &clock;
    options.createHost = [hostSettingsFile](float range) { return createHost(range, hostSettingsFile, clock); };
    return options;
}

}  // namespace ovelsk
