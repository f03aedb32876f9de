#include "host/host_folder_lock.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/file.h>
#include <unistd.h>

#include "host/host_folder.h"
#include "host/igate_file.h"

namespace ovelsk {

namespace {

constexpr std::size_t kLongestNote = 200;

// What the holder noted in the lock file ("; its status page is at URL"), or "".
std::string holderNote(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return {};
    char text[kLongestNote];
    const ssize_t length = ::read(fd, text, sizeof text);
    ::close(fd);
    const std::string_view note(text, length > 0 ? static_cast<std::size_t>(length) : 0);
    constexpr std::string_view kStatusPage = "status page ";
    if (!note.starts_with(kStatusPage) || !note.ends_with('\n')) return {};
    const std::string_view url = note.substr(kStatusPage.size(), note.size() - kStatusPage.size() - 1);
    // The file is anyone's to write: only a plain address is repeated.
    const auto plain = [](char c) { return c > ' ' && c < '\x7f'; };
    if (url.empty() || !std::all_of(url.begin(), url.end(), plain)) return {};
    return "; its status page is at " + std::string(url);
}

}  // namespace

HostFolderLock::~HostFolderLock() { release(); }

bool HostFolderLock::describeHolder(std::string_view note) {
    if (fd_ < 0 || note.size() > kLongestNote) return false;
    return ::ftruncate(fd_, 0) == 0 &&
           ::pwrite(fd_, note.data(), note.size(), 0) == static_cast<ssize_t>(note.size());
}

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
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
        describeHolder({});  // what an earlier holder noted is no longer true
        return Outcome::Taken;
    }
    const int error = errno;
    release();
    if (error == EWOULDBLOCK) {
        problem_ = "Ovelsk is already running (as a service or with its window) and keeps the igate.ini in " +
                   file.parent_path().string() + " (it holds " + file.string() + ")" + holderNote(file) +
                   "; run one Ovelsk per host folder";
        return Outcome::HeldElsewhere;
    }
    problem_ = "cannot lock " + file.string() + ": " + std::strerror(error);
    return Outcome::Unavailable;
}

}  // namespace ovelsk
