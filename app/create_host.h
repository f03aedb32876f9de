#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <variant>

#include "host/date_time.h"
#include "host/host_application.h"

namespace ovelsk {

// The host, or why it could not be made.
using HostOrError = std::variant<std::unique_ptr<HostApplication>, std::string>;

// The one place the program's host object is made, from the host settings in
// `settingsFile` (set up for the demo when missing, if `firstStartWhenMissing`);
// `range` is the range setting. The host measures its intervals
// (the gateways' windows, the hourly summary) on Ovelsk's own `clock`.
HostOrError createHost(float range, const std::filesystem::path& settingsFile, bool firstStartWhenMissing,
                       const Clock& clock);

}  // namespace ovelsk
