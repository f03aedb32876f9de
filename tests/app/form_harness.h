#pragma once
// A Form1 on a temporary program folder, with a clock the test sets and a host
// the test scripts.

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <cstdlib>
#include <gtest/gtest.h>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/form1.h"
#include "support/fake_clock.h"
#include "support/scratch_folder.h"
#include "support/scripted_host.h"

namespace ovelsk::test {

struct FormHarness {
    testing::ScratchFolder folder;      // the program's folder
    testing::ScratchFolder hostSide;    // the host's settings file and program folder
    testing::FakeClock clock;
    testing::ScriptedHost* host = nullptr;
    std::unique_ptr<Form1> form;
    std::vector<QString> statusLines;
    std::optional<std::string> hostError;  // set to make creating the host fail
    std::optional<float> rangeGivenToHost;

    // Builds the window; `onCreateHost` runs when start-up makes the host.
    void build(std::function<void()> onCreateHost = {}) {
        form = std::make_unique<Form1>(options(std::move(onCreateHost)));
        QObject::connect(form.get(), &Form1::statusChanged, [this](const QString& s) { statusLines.push_back(s); });
    }

    // The window's start-up options, as the program makes them for a run with or without it.
    StartupOptions options(std::function<void()> onCreateHost = {}) {
        StartupOptions options;
        options.programFolder = folder.path();
        options.userSettingsFolder = userSettingsFolder();
        options.executable = folder.path() / "ovelsk";
        options.hostSettingsFile = hostSettingsFile();
        options.clock = &clock;
        options.createHost = [this, onCreateHost](float range) -> HostOrError {
            rangeGivenToHost = range;
            if (onCreateHost) onCreateHost();
            if (hostError) return *hostError;
            auto scripted = std::make_unique<testing::ScriptedHost>();
            host = scripted.get();
            return scripted;
        };
        return options;
    }

    void start(std::function<void()> onCreateHost = {}) {
        build(std::move(onCreateHost));
        ASSERT_EQ(form->Form_Load(), std::nullopt);
    }

    std::filesystem::path hostSettingsFile() const { return hostSide / "UI-View32.ini"; }
    std::filesystem::path userSettingsFolder() const { return hostSide / "user-config" / "ovelsk"; }
    std::filesystem::path hostProgramFolder() const { return hostSide / "host"; }

    // Host settings that name a host program folder holding `igate`.
    void setUpHost(const std::string& igate) const {
        std::filesystem::create_directory(hostProgramFolder());
        testing::writeFile(hostSettingsFile(), "[UI-View32]\nProgram Folder=" + hostProgramFolder().string() + "/\n");
        testing::writeFile(hostProgramFolder() / "igate.ini", igate);
    }

    void writeFile(const std::string& name, const std::string& content) const {
        testing::writeFile(folder / name, content);
    }
    std::string readFile(const std::string& name) const { return testing::readFile(folder / name); }

    template <typename T>
    T* control(const char* name) const {
        return form->findChild<T*>(QString::fromLatin1(name));
    }
    QString range() const { return control<QLineEdit>("range")->text(); }
    QString status() const { return control<QLabel>("status")->text(); }
    QStringList listRows() const {
        QStringList rows;
        auto* list = control<QListWidget>("List1");
        for (int i = 0; i < list->count(); ++i) rows.append(list->item(i)->text());
        return rows;
    }
};

}  // namespace ovelsk::test
