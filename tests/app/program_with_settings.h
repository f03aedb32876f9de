#pragma once
// The program run without a screen on a host settings file of the test's own,
// its settings and host data under a scratch home.

#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "support/scratch_folder.h"

namespace ovelsk::testing {

// Writes `settings` ([UI-View32] and its keys) to home/settings.ini and starts
// the program on it.
inline void startOvelsk(QProcess& process, const ScratchFolder& home, const std::string& settings) {
    writeFile(home / "settings.ini", settings);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    env.insert("XDG_CONFIG_HOME", QString::fromStdString((home / "config").string()));
    env.insert("XDG_DATA_HOME", QString::fromStdString((home / "data").string()));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(OVELSK_BINARY_DIR "/app/ovelsk"),
                  {"--settings", QString::fromStdString((home / "settings.ini").string())});
}

// Reads status lines until one ends with `wanted`; false when the program
// stopped first.
inline bool waitForStatusLine(QProcess& process, std::string_view wanted) {
    std::string line;
    while (!line.ends_with(wanted)) {
        if (!process.canReadLine() && !process.waitForReadyRead()) {
            ADD_FAILURE() << "no status line ending with " << wanted << "\n"
                          << process.readAllStandardError().toStdString();
            return false;
        }
        line = process.readLine().trimmed().toStdString();
    }
    return true;
}

}  // namespace ovelsk::testing
