#include "standin/first_start.h"

#include <charconv>
#include <cstdlib>
#include <ostream>

#include "feeds/demo_feed.h"
#include "standin/host_config.h"
#include "host/atomic_file.h"

namespace ovelsk::aprs {
namespace {

std::string shortest(double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

}  // namespace

std::filesystem::path defaultHostDataFolder() {
    std::filesystem::path base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = std::filesystem::path(home) / ".local" / "share";
    } else {
        base = std::filesystem::path(".local") / "share";
    }
    return base / "ovelsk" / "host" / "";
}

std::optional<std::string> setUpFirstStart(HostSettings& settings, const std::filesystem::path& programFolder,
                                           std::ostream& log) {
    std::error_code ec;
    std::filesystem::create_directories(programFolder, ec);
    if (ec) return "cannot create the host folder " + programFolder.string() + ": " + ec.message();
    const auto igateIni = programFolder / "igate.ini";
    if (!std::filesystem::exists(igateIni, ec)) {
        if (const auto error = replaceFileAtomically(igateIni, programFolder / "igate.tmp", sampleIgateIni()))
            return "cannot write " + igateIni.string() + ": " + error->reason;
    }

    // Ovelsk puts its file names straight after the folder, so it keeps its separator.
    std::string folder = std::filesystem::absolute(programFolder, ec).string();
    if (!folder.ends_with('/')) folder += '/';
    settings.setValue(kProgramFolderKey, folder);
    settings.setValue(kLatitudeKey, shortest(kDemoHome.latitude));
    settings.setValue(kLongitudeKey, shortest(kDemoHome.longitude));
    settings.setValue(kDistanceUnitKey, "mi");
    settings.setValue(kFeedsKey, "demo");
    settings.setValue(kReplaySpeedKey, "1");
    // The demo shows what the gateway would pass to radio, on standard error.
    settings.setValue(kGateToRfKey, "log");
    if (const auto error = settings.save())
        return "cannot write the host settings " + settings.path().string() + ": " + error->reason;

    log << "First start: the host plays its bundled demo. Its settings are in " << settings.path().string()
        << "; set Latitude, Longitude and Feeds there to use a real station.\n"
        << std::flush;
    return std::nullopt;
}

}  // namespace ovelsk::aprs
