#include "app/startup_options.h"

#include <QCoreApplication>

#include "app/create_host.h"
#include "host/host_settings.h"

namespace ovelsk {

StartupOptions defaultStartupOptions() {
    // Intervals from a clock that never steps, anchored to the wall clock now.
    static const SteadyClock clock;
    StartupOptions options;
    options.programFolder = QCoreApplication::applicationDirPath().toStdString();
    options.executable = QCoreApplication::applicationFilePath().toStdString();
    options.hostSettingsFile = HostSettings::defaultPath();
    options.clock = &clock;
    options.createHost = createHost;
    return options;
}

}  // namespace ovelsk
