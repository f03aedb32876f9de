#pragma once
// The host as start-up builds it from a settings file, switched on; nullptr,
// with start-up's message as a test failure, when start-up refuses.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "standin/create_standin_host.h"

namespace ovelsk::testing {

inline std::unique_ptr<standin::StandinHost> startHost(const std::filesystem::path& settingsFile, const Clock& clock) {
    standin::StandinStartup startup;
    startup.settingsFile = settingsFile;
    startup.clock = &clock;
    auto created = standin::createStandinHost(startup);
    if (auto* refused = std::get_if<std::string>(&created)) {
        ADD_FAILURE() << *refused;
        return nullptr;
    }
    auto host = std::move(std::get<std::unique_ptr<standin::StandinHost>>(created));
    bool on = true;
    host->enable(on);
    return host;
}

}  // namespace ovelsk::testing
