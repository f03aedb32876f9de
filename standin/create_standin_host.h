#pragma once
// Start-up of the host stand-in: reads the host settings (setting up the demo on
// a first start), warns about keys it does not read, checks every value, and builds the host with its feeds. A bad
// value gives one message naming the key, the value and what is allowed, and
// nothing is written in that case. An empty "Program Folder" is allowed, with a
// warning on the log that igate.ini will not be kept.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <variant>

#include "standin/first_start.h"
#include "feeds/feed_timer.h"
#include "standin/standin_host.h"
#include "host/date_time.h"
#include "host/host_settings.h"

namespace ovelsk::standin {

struct StandinStartup {
    std::filesystem::path settingsFile = HostSettings::defaultPath();
    std::filesystem::path firstStartFolder = defaultHostDataFolder();
    // Whether a missing settings file is set up for the demo (the default file)
    // or is an error (a file the user named).
    bool firstStartWhenMissing = true;
    const Clock* clock = nullptr;        // the system clock when not set
    std::function<std::unique_ptr<aprs::FeedTimer>()> makeTimer = aprs::makeEventLoopTimer;
    // Ovelsk's range setting, in the host's distance unit: the APRS-IS feed asks
    // its server for the stations within it unless the Filter setting says otherwise.
    float range = 40;
};

std::variant<std::unique_ptr<StandinHost>, std::string> createStandinHost(const StandinStartup& startup = {});

}  // namespace ovelsk::standin
