#pragma once
// A Form1 on a temporary program folder, with a clock the test sets and a host
// the test scripts.

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <cstdlib>
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/form1.h"
#include "support/fake_clock.h"
#include "support/scripted_host.h"

namespace ovelsk::test {

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "ovelsk-app-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    const std::filesystem::path& path() const { return path_; }

    void write(const std::string& name, const std::string& content) const {
        std::ofstream(path_ / name, std::ios::binary) << content;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(path_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

private:
    std::filesystem::path path_;
};

struct FormHarness {
    TempFolder folder;
    testing::FakeClock clock;
    testing::ScriptedHost* host = nullptr;
    std::unique_ptr<Form1> form;
    std::vector<QString> statusLines;
    std::optional<std::string> hostError;  // set to make creating the host fail

    // Builds the window; `onCreateHost` runs when start-up makes the host.
    void build(std::function<void()> onCreateHost = {}) {
        StartupOptions options;
        options.programFolder = folder.path();
        options.executable = folder.path() / "ovelsk";
        options.hostSettingsFile = folder.path() / "no-host-settings.ini";
        options.clock = &clock;
        options.createHost = [this, onCreateHost]() -> HostOrError {
            if (onCreateHost) onCreateHost();
            if (hostError) return *hostError;
            auto scripted = std::make_unique<testing::ScriptedHost>();
            host = scripted.get();
            return scripted;
        };
        form = std::make_unique<Form1>(std::move(options));
        QObject::connect(form.get(), &Form1::statusChanged, [this](const QString& s) { statusLines.push_back(s); });
    }

    void start(std::function<void()> onCreateHost = {}) {
        build(std::move(onCreateHost));
        ASSERT_EQ(form->Form_Load(), std::nullopt);
    }

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
