#pragma once
// Paths of the files Ovelsk keeps in the host's program folder.

#include <filesystem>
#include <string_view>

namespace ovelsk {

// `fileName` inside `hostFolder`, with exactly one separator between them whether
// or not the stored folder ends with one (or several).
std::filesystem::path hostFolderFile(std::string_view hostFolder, std::string_view fileName);

}  // namespace ovelsk
