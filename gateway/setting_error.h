#pragma once
// The one message start-up stops with for a bad setting, for the host's own keys
// and the gateway's alike.

#include <string>
#include <string_view>

#include "host/host_settings.h"

namespace ovelsk::gateway {

// Names the file, the key, the value, what is wrong with it when that is not
// plain from what is allowed (`note`), and what the key allows.
std::string settingError(const HostSettings& settings, std::string_view key, std::string_view value,
                         std::string_view allowed, std::string_view note = {});

}  // namespace ovelsk::gateway
