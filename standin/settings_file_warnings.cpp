#include "standin/settings_file_warnings.h"

#include "feeds/log_text.h"

namespace ovelsk::standin {
namespace {

std::string sectionLine() { return "[" + std::string(kHostSettingsSection) + "]"; }

std::string prefix(const HostSettings& settings, std::size_t line) {
    return "Host settings " + settings.path().string() + " line " + std::to_string(line) + ": ";
}

}  // namespace

std::vector<std::string> settingsFileWarnings(const HostSettings& settings) {
    std::vector<std::string> warnings;
    for (const auto& [key, line] : settings.keysOutsideSection()) {
        warnings.push_back(prefix(settings, line) + "\"" + aprs::valueForLog(key) + "\" is outside the " + sectionLine() +
                           " section, which Ovelsk reads");
    }
    for (const auto& [later, first] : settings.repeatedKeys()) {
        warnings.push_back(prefix(settings, later.line) + "\"" + aprs::valueForLog(later.key) + "\" is given again (first on line " +
                           std::to_string(first.line) + "); the one on line " + std::to_string(first.line) + " is used");
    }
    return warnings;
}

std::string missingSectionError(const HostSettings& settings) {
    return "Host settings " + settings.path().string() + " has no " + sectionLine() + " line; Ovelsk reads its keys " +
           "from that section: put " + sectionLine() + " on a line of its own above them";
}

}  // namespace ovelsk::standin
