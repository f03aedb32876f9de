#pragma once
// Versions of a file that a rewrite put aside while another program had them
// open. An editor that saves in place (nano opens the file with O_TRUNC, then
// writes) may have opened the version being replaced: its save then lands in
// the file that is no longer in place. Holding each replaced version open, that
// save is found and handed back, so the next rewrite can start from it.

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "host/atomic_file.h"

namespace ovelsk {

// Text saved into a replaced version, and that version as it was then.
struct LateSave {
    std::string text;
    FileStamp stamp;
};

class ReplacedVersions final {
public:
    // Where nothing tells whether a program still writes a replaced version (a
    // file system without leases, a file another user owns), it is watched this long.
    static constexpr std::chrono::seconds kWatchTime{2};
    // More held at once than this, the oldest is looked at one last time and let go.
    static constexpr std::size_t kMaxHeld = 64;

    ReplacedVersions() = default;
    ~ReplacedVersions();
    ReplacedVersions(const ReplacedVersions&) = delete;
    ReplacedVersions& operator=(const ReplacedVersions&) = delete;

    // Opens `file` just before it is replaced, if it is still the version `read`.
    void holdBeforeReplacing(const std::filesystem::path& file, const FileStamp& read);
    // After the replace: `done` keeps the held version to watch, otherwise it is let go.
    void replaced(bool done);

    // The newest save into a replaced version whose writer has closed it, if any
    // came in; versions nobody writes any more are let go. Saves over `maxSize`
    // bytes are not taken.
    std::optional<LateSave> takeLateSave(std::size_t maxSize);

    std::size_t held() const { return versions_.size(); }

private:
    struct Version {
        int fd;
        FileStamp seen;
        std::chrono::steady_clock::time_point watchUntil;
    };
    // Looks at one version; true when it is let go.
    bool look(Version& version, std::size_t maxSize, std::optional<LateSave>& newest, bool last);

    std::optional<Version> holding_;
    std::vector<Version> versions_;
};

}  // namespace ovelsk
