#pragma once
// Mistakes in the shape of a hand-edited host settings file that Ovelsk can read
// past but the user should hear of: keys it does not read because they stand
// outside the [UI-View32] section (pasted without the section line), and keys
// given twice, of which only the first counts.

#include <string>
#include <vector>

#include "host/host_settings.h"

namespace ovelsk::standin {

// One warning for each key outside the section, then one for each repeated key.
std::vector<std::string> settingsFileWarnings(const HostSettings& settings);

// The message start-up stops with when the file has no [UI-View32] line.
std::string missingSectionError(const HostSettings& settings);

}  // namespace ovelsk::standin
