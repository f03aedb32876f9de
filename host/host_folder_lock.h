#pragma once
// One Ovelsk per host folder. Two would share igate.tmp and could leave igate.ini
// empty, so the program holds an advisory lock (flock) on Ovelsk.lock in the
// host folder for as long as it runs; the lock goes with the process, however it
// ends, and the file stays.

#include <string>
#include <string_view>

namespace ovelsk {

inline constexpr std::string_view kHostFolderLockFileName = "Ovelsk.lock";

class HostFolderLock {
public:
    enum class Outcome {
        Taken,
        HeldElsewhere,  // another program holds it: this one must not keep the folder's files
        Unavailable,    // no lock can be had here (the folder is read-only, say)
    };

    HostFolderLock() = default;
    ~HostFolderLock();
    HostFolderLock(const HostFolderLock&) = delete;
    HostFolderLock& operator=(const HostFolderLock&) = delete;

    // Takes the lock of `hostFolder`, giving up one held before. For anything
    // but Taken, problem() says why, naming the lock file.
    Outcome take(std::string_view hostFolder);
    const std::string& problem() const { return problem_; }

private:
    void release();

    int fd_ = -1;
    std::string problem_;
};

}  // namespace ovelsk
