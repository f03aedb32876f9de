#pragma once
// Replacing a file so that readers, and a crash at any instant, only ever see the
// old content or the new content, complete.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ovelsk {

struct FileError {
    std::string reason;  // "Permission denied", "No space left on device", ...
};

// Writes `content` to `temp`, flushes it to disk, renames it over `target` and
// flushes the folder so the rename lasts too (no flushing when `flush` is false).
// On failure `target` is untouched, `temp` is removed, and the error says why.
std::optional<FileError> replaceFileAtomically(const std::filesystem::path& target,
                                               const std::filesystem::path& temp,
                                               std::string_view content, bool flush = true);

// Reads a whole file as bytes. nullopt and `error` set when it cannot be read.
std::optional<std::string> readWholeFile(const std::filesystem::path& file, FileError* error = nullptr);

}  // namespace ovelsk
