#include "host/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace ovelsk {
namespace {

FileError errnoError(const std::filesystem::path& file) { return FileError{std::strerror(errno), file}; }

FileStamp stampOf(const struct stat& info) {
    return FileStamp{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
                     static_cast<std::int64_t>(info.st_size), static_cast<std::int64_t>(info.st_mtim.tv_sec),
                     static_cast<std::int64_t>(info.st_mtim.tv_nsec)};
}

bool writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        content.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// Makes the rename itself survive a power cut. Some file systems cannot sync a
// folder; the new content is in place either way, so that is not a failure.
void syncFolderOf(const std::filesystem::path& file) {
    const auto folder = file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path();
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// A rename replaces a file whatever its own permissions say, so they are asked
// here: a file the user made read-only stays as it is. Root may write anything,
// so for root a file without any write permission counts as read-only.
std::optional<FileError> refuseUnwritable(const std::filesystem::path& file, const struct stat& info) {
    if (::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) != 0) return errnoError(file);
    if (::geteuid() == 0 && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return FileError{"the file is read-only", file};
    }
    return std::nullopt;
}

// The new file takes the old one's owner and group where the process may give
// them (root may give any; a user may give one of its own groups), then its
// mode: changing the owner clears set-id bits, so the mode comes last.
bool takeOverMetadata(int fd, const struct stat& old) {
    if ((old.st_uid != ::geteuid() || old.st_gid != ::getegid()) && ::fchown(fd, old.st_uid, old.st_gid) != 0) {
        [[maybe_unused]] const int ignored = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    }
    return ::fchmod(fd, old.st_mode & 07777) == 0;
}

// Puts `temp` (whose stamp is `ours`) in the place of `target` if `target` is
// still the `expected` version, and leaves no `temp` behind. The check comes
// just before; exchanging the two names, rather than renaming over the target,
// then leaves what was displaced at hand, so a save that lands in the instant
// between is found and put back. (A file system without the exchange gets the
// plain rename.)
std::optional<FileError> replaceIfUnchanged(const std::filesystem::path& target, const std::filesystem::path& temp,
                                            const FileStamp& expected, const FileStamp& ours) {
    const FileError changed{"it changed while being rewritten", target, true};
    const auto displacedStamp = [&] {
        struct stat info {};
        return ::lstat(temp.c_str(), &info) == 0 ? std::optional(stampOf(info)) : std::nullopt;
    };
    if (fileStamp(target) != expected) {
        ::unlink(temp.c_str());
        return changed;
    }
    if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) != 0) {
        const int exchangeError = errno;
        std::optional<FileError> error;
        if (exchangeError == ENOENT) {
            error = changed;  // deleted meanwhile: not ours to bring back
        } else if (exchangeError != EINVAL && exchangeError != ENOSYS && exchangeError != EOPNOTSUPP) {
            error = FileError{std::strerror(exchangeError), target};
        } else if (::rename(temp.c_str(), target.c_str()) != 0) {
            error = errnoError(target);
        }
        if (error) ::unlink(temp.c_str());
        return error;
    }
    if (displacedStamp() == expected) {
        ::unlink(temp.c_str());
        return std::nullopt;
    }
    // Back with the save that was displaced; should yet another have come in
    // meanwhile, that one, the newest, goes in place over it.
    if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0 &&
        displacedStamp() == ours) {
        ::unlink(temp.c_str());
    } else {
        ::rename(temp.c_str(), target.c_str());
    }
    return changed;
}

}  // namespace

std::optional<FileStamp> fileStamp(const std::filesystem::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) return std::nullopt;
    return stampOf(info);
}

std::optional<FileStamp> fileStamp(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) return std::nullopt;
    return stampOf(info);
}

bool modifiedLater(const FileStamp& a, const FileStamp& b) {
    return std::pair(a.modifiedSeconds, a.modifiedNanoseconds) > std::pair(b.modifiedSeconds, b.modifiedNanoseconds);
}

std::optional<FileError> replaceFileAtomically(const std::filesystem::path& target,
                                               const std::filesystem::path& temp, std::string_view content,
                                               bool flush, const std::optional<FileStamp>& expected,
                                               FileStamp* writtenStamp) {
    auto realTarget = target;
    auto realTemp = temp;
    struct stat existing {};
    if (::lstat(target.c_str(), &existing) == 0 && S_ISLNK(existing.st_mode)) {
        std::error_code ec;
        realTarget = std::filesystem::canonical(target, ec);
        if (ec) return FileError{ec.message(), target};
        realTemp = realTarget;
        realTemp += ".tmp";
    }
    const bool replacing = ::stat(realTarget.c_str(), &existing) == 0;
    if (replacing) {
        if (auto refused = refuseUnwritable(realTarget, existing)) return refused;
    }

    // A file of our own, always new: whatever has the temporary name (left by a
    // crash, a hard link to another file, a symlink) goes, and O_EXCL with
    // O_NOFOLLOW makes sure nothing planted meanwhile redirects the write.
    if (::unlink(realTemp.c_str()) != 0 && errno != ENOENT) return errnoError(realTemp);
    const int fd = ::open(realTemp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) return errnoError(realTemp);
    struct stat ours {};
    const bool written = (!replacing || takeOverMetadata(fd, existing)) && writeAll(fd, content) &&
                         (!flush || ::fsync(fd) == 0) && ::fstat(fd, &ours) == 0;
    std::optional<FileError> error = written ? std::nullopt : std::optional(errnoError(realTemp));
    if (::close(fd) != 0 && !error) error = errnoError(realTemp);
    if (!error && !expected && ::rename(realTemp.c_str(), realTarget.c_str()) != 0) error = errnoError(realTarget);
    if (error) {
        ::unlink(realTemp.c_str());
        return error;
    }
    if (expected) {
        if (auto failed = replaceIfUnchanged(realTarget, realTemp, *expected, stampOf(ours))) return failed;
    }
    if (flush) syncFolderOf(realTarget);
    if (writtenStamp) *writtenStamp = stampOf(ours);
    return std::nullopt;
}

std::optional<std::string> readWholeFile(const std::filesystem::path& file, FileError* error, FileStamp* stamp,
                                         std::size_t maxSize) {
    const auto fail = [&](FileError why) {
        if (error) *error = std::move(why);
        return std::nullopt;
    };
    const FileError tooLarge{"larger than " + std::to_string(maxSize) + " bytes", file};
    // O_NONBLOCK: opening a FIFO put in the file's place must not wait for a writer.
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const FileError why = errnoError(file);
        std::error_code ec;
        if (errno == ENOENT && std::filesystem::is_symlink(file, ec)) {
            return fail({"a symbolic link to " + std::filesystem::read_symlink(file, ec).string() +
                             ", which leads to no file",
                         file});
        }
        return fail(why);
    }
    struct stat info {};
    std::optional<FileError> refused;
    if (::fstat(fd, &info) != 0) {
        refused = errnoError(file);
    } else if (!S_ISREG(info.st_mode)) {
        refused = FileError{"not a regular file", file};
    } else if (static_cast<std::uint64_t>(info.st_size) > maxSize) {
        refused = tooLarge;
    }
    std::string content;
    if (!refused) content.reserve(static_cast<size_t>(info.st_size));
    char buffer[65536];
    while (!refused) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno != EINTR) refused = errnoError(file);
            continue;
        }
        content.append(buffer, static_cast<size_t>(n));
        if (content.size() > maxSize) refused = tooLarge;
    }
    ::close(fd);
    if (refused) return fail(*refused);
    // Taken before reading: a save that lands while the file is read changes the
    // file's stamp after this one, so a later check against it fails safe.
    if (stamp) *stamp = stampOf(info);
    return content;
}

}  // namespace ovelsk
