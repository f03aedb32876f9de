#pragma once
// One Ovelsk per igate.ini. Two would share igate.tmp and could leave igate.ini
// empty, so the program holds an advisory lock (flock) on Ovelsk.lock for as long
// as it runs; the lock goes with the process, however it ends, and the file
// stays. The lock file lies beside the igate.ini that is really written: where
// igate.ini is a symbolic link, in the folder it leads to, so two host folders
// sharing one file exclude each other too. (igate.ini itself cannot carry the
// lock: every rewrite puts a new file in its place.)

#include <string>
#include <string_view>

namespace ovelsk {

inline constexpr std::string_view kHostFolderLockFileName = "Ovelsk.lock";

class HostFolderLock {
public:
    enum class Outcome {
        Taken,
        HeldElsewhere,  // another program holds it: this one must not keep the folder's files
        Unavailable,    // no lock can be had (a read-only folder, a file system without locks, ...)
    };

    HostFolderLock() = default;
    ~HostFolderLock();
    HostFolderLock(const HostFolderLock&) = delete;
    HostFolderLock& operator=(const HostFolderLock&) = delete;

    // Takes the lock of `hostFolder`'s igate.ini, giving up one held before. For
    // anything but Taken, problem() says why, naming the lock file. Only a lock
    // file of our own kind counts: a folder or a symbolic link in its place is
    // refused, not followed.
    Outcome take(std::string_view hostFolder);
    const std::string& problem() const { return problem_; }

    // While the lock is held, `note` (one line: where this Ovelsk serves its
    // status page) replaces the lock file's text, so the problem() of a second
    // Ovelsk held off can say it; taking the lock clears an earlier holder's
    // note. False when it could not be written.
    bool describeHolder(std::string_view note);

private:
    void release();

    int fd_ = -1;
    std::string problem_;
};

}  // namespace ovelsk
