#pragma once
// A Form1 on a temporary program folder, with a clock the test sets and a host
// the test scripts.

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/form1.h"

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

class FixedClock final : public Clock {
public:
    DateTime now() const override { return now_; }
    DateTime now_ = 46000.5;  // 2025-12-09 12:00 UTC
};

class ScriptedHost final : public HostApplication {
public:
    explicit ScriptedHost(std::vector<std::string>* calls) : calls_(calls) {}

    void bindNotifyBeaconData(NotifyBeaconData handler) override {
        calls_->push_back("bind");
        notify_ = std::move(handler);
    }
    void enable(bool& on) override { calls_->push_back(on ? "enable true" : "enable false"); }
    std::int16_t stationListCount() override { return static_cast<std::int16_t>(stationList.size()); }
    std::string_view stationListLine(std::int16_t index) override { return stationList.at(static_cast<size_t>(index)); }
    std::span<const std::string> secondStationList() override { return secondList; }

    void raise(const StationObject& cStn) { notify_(cStn); }

    std::vector<std::string> stationList;
    std::vector<std::string> secondList{"header"};

private:
    std::vector<std::string>* calls_;
    NotifyBeaconData notify_;
};

struct FormHarness {
    TempFolder folder;
    FixedClock clock;
    std::vector<std::string> calls;  // start-up steps and host calls, in order
    ScriptedHost* host = nullptr;
    std::unique_ptr<Form1> form;
    std::vector<QString> statusLines;

    // Builds the window; `onCreateHost` runs when start-up makes the host.
    void build(std::function<void()> onCreateHost = {}) {
        StartupOptions options;
        options.programFolder = folder.path();
        options.executable = folder.path() / "ovelsk";
        options.hostSettingsFile = folder.path() / "no-host-settings.ini";
        options.clock = &clock;
        options.createHost = [this, onCreateHost] {
            calls.push_back("create host");
            if (onCreateHost) onCreateHost();
            auto scripted = std::make_unique<ScriptedHost>(&calls);
            host = scripted.get();
            return scripted;
        };
        form = std::make_unique<Form1>(std::move(options));
        QObject::connect(form.get(), &Form1::statusChanged, [this](const QString& s) { statusLines.push_back(s); });
    }

    void start(std::function<void()> onCreateHost = {}) {
        build(std::move(onCreateHost));
        form->Form_Load();
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
