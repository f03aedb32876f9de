#include "host/host_folder_lock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

#include "host/host_folder.h"
#include "host/igate_file.h"

namespace ovelsk {

HostFolderLock::~HostFolderLock() { release(); }

void HostFolderLock::release() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

HostFolderLock::Outcome HostFolderLock::take(std::string_view hostFolder) {
    release();
    problem_.clear();
    std::error_code ignored;  // a folder that cannot be resolved fails below with its reason
    const auto igateIni = std::filesystem::weakly_canonical(hostFolderFile(hostFolder, kIgateFileName), ignored);
    const auto file = igateIni.empty() ? hostFolderFile(hostFolder, kHostFolderLockFileName)
                                       : igateIni.parent_path() / kHostFolderLockFileName;
    // A lock file someone else made may be read-only for us; a read-only
    // descriptor locks it all the same.
    fd_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd_ < 0 && (errno == EACCES || errno == EROFS)) fd_ = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd_ < 0) {
        problem_ = "cannot lock " + file.string() + ": " + (errno == ELOOP ? "it is a symbolic link" : std::strerror(errno));
        return Outcome::Unavailable;
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return Outcome::Taken;
    const int error = errno;
    release();
    if (error == EWOULDBLOCK) {
        problem_ = "another Ovelsk already keeps the igate.ini in " + file.parent_path().string() + " (it holds " +
                   file.string() + "); run one Ovelsk per host folder";
        return Outcome::HeldElsewhere;
    }
    problem_ = "cannot lock " + file.string() + ": " + std::strerror(error);
    return Outcome::Unavailable;
}

}  // namespace ovelsk
