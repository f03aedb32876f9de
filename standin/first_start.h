#pragma once
// A fresh machine has no host settings yet. Rather than stop, the host sets
// itself up to play the bundled demo: a program folder with a sample igate.ini,
// and a settings file that names them, which the user can then edit to point at
// a real station.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/host_settings.h"

namespace ovelsk::standin {

// $XDG_DATA_HOME (else ~/.local/share) / ovelsk / host /
std::filesystem::path defaultHostDataFolder();

// The settings file a first start writes for the demo with `programFolder` as
// the host folder, a comment above every key.
std::string firstStartSettingsText(const std::filesystem::path& programFolder);

// Creates `programFolder` with the sample igate.ini (an igate.ini already there
// is kept), writes the settings file for the demo with a comment above every key
// and loads it into `settings`, and says where the settings file is (ovelsk.settings).
// nullopt on success, else why it failed.
std::optional<std::string> setUpFirstStart(HostSettings& settings, const std::filesystem::path& programFolder);

// The demo's sample stations (the sample igate.ini's [INET_TO_RF] lines) that
// `igateText` still lists: once the host has real feeds, the gateway to radio
// would pass them like any station the user listed.
std::vector<std::string> demoStationsLeft(std::string_view igateText);

}  // namespace ovelsk::standin
