#include "app/startup_options.h"

#include <QCoreApplication>

#include "app/create_host.h"
#include "host/host_settings.h"

namespace ovelsk {

StartupOptions defaultStartupOptions() {
    static const SystemClock clock;
    StartupOptions options;
    options.programFolder = QCoreApplication::applicationDirPath().toStdString();
    options.executable = QCoreApplication::applicationFilePath().toStdString();
    options.hostSettingsFile = HostSettings::defaultPath();
    options.clock = &clock;
    options.createHost = createHost;
    return options;
}

}  // namespace ovelsk
