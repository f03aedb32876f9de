#pragma once
// Replacing a file so that readers, and a crash at any instant, only ever see the
// old content or the new content, complete.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace ovelsk {

struct FileError {
    std::string reason;  // "Permission denied", "No space left on device", ...
    // The file the failure concerns (the temporary, say, rather than the target),
    // where the caller cannot tell.
    std::filesystem::path file = {};
    // The target was no longer the version the caller expected; nothing was written.
    bool changedMeanwhile = false;
};

// One version of a file: saving it anew, in place or by replacing it, changes
// one of these. (The change time is left out: a rename changes it.)
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of the file `file` leads to (links followed), or of the open file
// `fd`; nullopt and errno set when it cannot be examined.
std::optional<FileStamp> fileStamp(const std::filesystem::path& file);
std::optional<FileStamp> fileStamp(int fd);

// True when `a` was last modified after `b`.
bool modifiedLater(const FileStamp& a, const FileStamp& b);

// Writes `content` to `temp`, flushes it to disk, puts it in place of `target`
// and flushes the folder so that lasts too (no flushing when `flush` is false).
// - The new file keeps the mode of the one it replaces exactly and, where the
//   process may give it, its owner and group.
// - A target we may not write (read-only, or owned by another user) is left alone
//   and reported, although the folder would let a rename replace it.
// - A symbolic link at `target` stays: the file it leads to is replaced, through
//   a temporary beside that file (its name with ".tmp" added).
// - With `expected`, the target is replaced only while it is still that version;
//   should it have changed since (a hand edit saved meanwhile), the change is
//   kept and the error says changedMeanwhile.
// On failure the target is untouched, the temporary is removed, and the error
// says why and, in `file`, which file failed. On success `writtenStamp` receives the
// stamp of the file now in place.
std::optional<FileError> replaceFileAtomically(const std::filesystem::path& target,
                                               const std::filesystem::path& temp, std::string_view content,
                                               bool flush = true, const std::optional<FileStamp>& expected = {},
                                               FileStamp* writtenStamp = nullptr);

inline constexpr std::size_t kNoSizeLimit = std::numeric_limits<std::size_t>::max();

// Reads a whole regular file as bytes, and in `stamp` the version read. nullopt
// and `error` set when it cannot be read or holds more than `maxSize` bytes.
std::optional<std::string> readWholeFile(const std::filesystem::path& file, FileError* error = nullptr,
                                         FileStamp* stamp = nullptr, std::size_t maxSize = kNoSizeLimit);

}  // namespace ovelsk
