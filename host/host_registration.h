#pragma once
// Finding the host's program folder and registering Ovelsk there as an add-on.

#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>

#include "host/host_settings.h"

namespace ovelsk {

inline constexpr std::string_view kRegistrationFileName = "Ovelsk.XTR";

// Reads "Program Folder" from the host settings in `settingsFile` and returns it
// as the host folder ("" when it is absent, empty or cannot be read). The first
// time, writes Ovelsk.XTR into that folder, through which the host lists and
// starts `executable` (the running program) as an add-on:
//
//   Ovelsk
//   "/opt/ovelsk/bin/ovelsk"
//   True
//   True
//
// An existing Ovelsk.XTR is left as it is. A settings file that cannot be read or
// a registration that cannot be written is reported on `errors` with the path and
// the reason; start-up goes on either way.
std::string RegisterWithHost(const std::filesystem::path& executable,
                             const std::filesystem::path& settingsFile = HostSettings::defaultPath(),
                             std::ostream& errors = std::cerr);

}  // namespace ovelsk
