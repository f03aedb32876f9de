#include "host/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ovelsk {
namespace {

FileError errnoError() { return FileError{std::strerror(errno)}; }

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

}  // namespace

std::optional<FileError> replaceFileAtomically(const std::filesystem::path& target,
                                               const std::filesystem::path& temp,
                                               std::string_view content, bool flush) {
    // Keep the permissions of the file being replaced, so a hand-set mode survives.
    mode_t mode = 0644;
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) mode = existing.st_mode & 07777;

    // O_NOFOLLOW: a symlink planted under the temporary name must not redirect the write.
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, mode);
    if (fd < 0) return errnoError();
    bool ok = writeAll(fd, content) && (!flush || ::fsync(fd) == 0);
    FileError error = ok ? FileError{} : errnoError();
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errnoError();
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errnoError();
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return error;
    }
    if (flush) syncFolderOf(target);
    return std::nullopt;
}

std::optional<std::string> readWholeFile(const std::filesystem::path& file, FileError* error) {
    // O_NONBLOCK: opening a FIFO put in the file's place must not wait for a writer.
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info {};
    if (fd >= 0 && ::fstat(fd, &info) == 0 && !S_ISREG(info.st_mode)) {
        ::close(fd);
        if (error) *error = FileError{"not a regular file"};
        return std::nullopt;
    }
    if (fd < 0) {
        if (error) *error = errnoError();
        return std::nullopt;
    }
    std::string content;
    content.reserve(static_cast<size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            if (error) *error = errnoError();
            ::close(fd);
            return std::nullopt;
        }
        content.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return content;
}

}  // namespace ovelsk
