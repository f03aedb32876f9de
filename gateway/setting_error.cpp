#include "gateway/setting_error.h"

#include "feeds/log_text.h"

namespace ovelsk::gateway {

std::string settingError(const HostSettings& settings, std::string_view key, std::string_view value,
                         std::string_view allowed, std::string_view note) {
    std::string shown = value.empty() ? "empty or missing" : "\"" + aprs::valueForLog(value) + "\"";
    if (!note.empty()) shown += " (" + std::string(note) + ")";
    return "Host settings " + settings.path().string() + ": \"" + std::string(key) + "\" is " + shown +
           "; allowed: " + std::string(allowed);
}

}  // namespace ovelsk::gateway
