#include "standin/first_start.h"

#include <algorithm>
#include <charconv>

#include "feeds/demo_feed.h"
#include "gateway/gate_config.h"
#include "gateway/gate_list.h"
#include "standin/host_config.h"
#include "standin/setting_keys.h"
#include "standin/standin_log.h"
#include "host/atomic_file.h"
#include "host/xdg_folders.h"

namespace ovelsk::standin {
namespace {

std::string shortest(double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

}  // namespace

std::string firstStartSettingsText(const std::filesystem::path& programFolder) {
    // Ovelsk puts its file names straight after the folder, so it keeps its separator.
    std::error_code ec;
    std::string folder = std::filesystem::absolute(programFolder, ec).string();
    if (!folder.ends_with('/')) folder += '/';
    const FirstStartValue values[] = {
        {kProgramFolderKey, folder},
        {kLatitudeKey, shortest(aprs::kDemoHome.latitude)},
        {kLongitudeKey, shortest(aprs::kDemoHome.longitude)},
        {kDistanceUnitKey, "mi"},
        {kFeedsKey, "demo"},
        {kReplaySpeedKey, "1"},
        // The demo shows what the gateway would pass to radio, on standard error.
        {gateway::kGateToRfKey, "log"},
    };
    return commentedSettingsText(values);
}

std::filesystem::path defaultHostDataFolder() { return xdgDataHome() / "ovelsk" / "host" / ""; }

std::optional<std::string> setUpFirstStart(HostSettings& settings, const std::filesystem::path& programFolder) {
    std::error_code ec;
    std::filesystem::create_directories(programFolder, ec);
    if (ec) return "cannot create the host folder " + programFolder.string() + ": " + ec.message();
    const auto igateIni = programFolder / "igate.ini";
    if (!std::filesystem::exists(igateIni, ec)) {
        if (const auto error = replaceFileAtomically(igateIni, programFolder / "igate.tmp", aprs::sampleIgateIni()))
            return "cannot write " + igateIni.string() + ": " + error->reason;
    }

    const auto cannotWrite = [&](const std::string& reason) {
        return "cannot write the host settings " + settings.path().string() + ": " + reason;
    };
    if (settings.path().has_parent_path()) {
        std::filesystem::create_directories(settings.path().parent_path(), ec);
        if (ec) return cannotWrite(ec.message());
    }
    auto temp = settings.path();
    temp += ".tmp";
    if (const auto error = replaceFileAtomically(settings.path(), temp, firstStartSettingsText(programFolder)))
        return cannotWrite(error->reason);
    if (const auto error = settings.load()) return cannotWrite(error->reason);

    qCInfo(lcSettings,
           "First start: the host plays its bundled demo. Its settings are in %s; set Latitude, Longitude and "
           "Feeds there to use a real station.",
           settings.path().c_str());
    return std::nullopt;
}

std::vector<std::string> demoStationsLeft(std::string_view igateText) {
    const auto sample = gateway::parseGateList(aprs::sampleIgateIni()).stations;
    std::vector<std::string> left;
    for (const std::string_view station : gateway::parseGateList(igateText).stations) {
        if (std::find(sample.begin(), sample.end(), station) != sample.end()) left.emplace_back(station);
    }
    return left;
}

}  // namespace ovelsk::standin
