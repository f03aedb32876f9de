#include "app/create_host.h"

#include "standin/create_standin_host.h"

namespace ovelsk {

// The host is Ovelsk's own stand-in, set up from the host settings file (for the
// bundled demo on a first start).
HostOrError createHost(float range, const std::filesystem::path& settingsFile, bool firstStartWhenMissing,
                       const Clock& clock) {
    standin::StandinStartup startup;
    startup.settingsFile = settingsFile;
    startup.firstStartWhenMissing = firstStartWhenMissing;
    startup.range = range;
    startup.clock = &clock;
    auto host = standin::createStandinHost(startup);
    if (auto* error = std::get_if<std::string>(&host)) return std::move(*error);
    return std::unique_ptr<HostApplication>(std::move(std::get<std::unique_ptr<standin::StandinHost>>(host)));
}

}  // namespace ovelsk
