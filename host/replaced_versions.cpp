#include "host/replaced_versions.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace ovelsk {
namespace {

enum class Writer { None, Open, Unknown };

// A read lease is granted only while no one has the file open for writing; it is
// given back at once, it only asks. (Leases need the file's owner or CAP_LEASE.)
Writer writerOf(int fd) {
    if (::fcntl(fd, F_SETLEASE, F_RDLCK) == 0) {
        ::fcntl(fd, F_SETLEASE, F_UNLCK);
        return Writer::None;
    }
    return errno == EAGAIN ? Writer::Open : Writer::Unknown;
}

std::optional<std::string> readAll(int fd, std::size_t maxSize) {
    std::string text;
    char buffer[65536];
    for (off_t offset = 0;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, offset);
        if (n == 0) return text;
        if (n < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        text.append(buffer, static_cast<size_t>(n));
        if (text.size() > maxSize) return std::nullopt;
        offset += n;
    }
}

}  // namespace

ReplacedVersions::~ReplacedVersions() {
    replaced(false);
    for (const Version& version : versions_) ::close(version.fd);
}

void ReplacedVersions::holdBeforeReplacing(const std::filesystem::path& file, const FileStamp& read) {
    replaced(false);
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return;
    if (fileStamp(fd) != read) {
        ::close(fd);  // already changed: the replace will find that itself
        return;
    }
    // Should anyone open it for writing in the instant a lease is held, the
    // notice comes as a signal: one ignored by default, not SIGIO, which would end us.
    ::fcntl(fd, F_SETSIG, SIGWINCH);
    holding_ = Version{fd, read, {}};
}

void ReplacedVersions::replaced(bool done) {
    if (!holding_) return;
    if (done) {
        holding_->watchUntil = std::chrono::steady_clock::now() + kWatchTime;
        versions_.push_back(*holding_);
    } else {
        ::close(holding_->fd);
    }
    holding_.reset();
}

bool ReplacedVersions::look(Version& version, std::size_t maxSize, std::optional<LateSave>& newest, bool last) {
    const Writer writer = writerOf(version.fd);
    const bool expired = last || std::chrono::steady_clock::now() >= version.watchUntil;
    // Mid-save (truncated, not yet written): wait until the writer closes it.
    if (writer == Writer::Open && !last) return false;
    const auto now = fileStamp(version.fd);
    // Without a word on its writer, an empty file is taken as one truncated mid-save while time is left.
    if (writer == Writer::Unknown && now && now->size == 0 && !expired) return false;
    if (now && *now != version.seen) {
        version.seen = *now;
        auto text = readAll(version.fd, maxSize);
        if (text && (!newest || modifiedLater(*now, newest->stamp))) newest = LateSave{std::move(*text), *now};
    }
    if (expired || writer == Writer::None) {
        ::close(version.fd);
        return true;
    }
    return false;
}

std::optional<LateSave> ReplacedVersions::takeLateSave(std::size_t maxSize) {
    std::optional<LateSave> newest;
    while (versions_.size() > kMaxHeld) {
        look(versions_.front(), maxSize, newest, true);
        versions_.erase(versions_.begin());
    }
    std::erase_if(versions_, [&](Version& version) { return look(version, maxSize, newest, false); });
    return newest;
}

}  // namespace ovelsk
