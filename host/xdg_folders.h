#pragma once
// The per-user folders of the XDG base directory rules, found in one place so
// that every file Ovelsk keeps per user follows the same rules.

#include <filesystem>

namespace ovelsk {

// $XDG_CONFIG_HOME, else ~/.config. A relative or empty XDG_CONFIG_HOME is
// invalid and ignored, as the rules say.
std::filesystem::path xdgConfigHome();

// $XDG_DATA_HOME, else ~/.local/share, with the same rule for a relative value.
std::filesystem::path xdgDataHome();

}  // namespace ovelsk
