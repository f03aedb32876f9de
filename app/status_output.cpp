#include "app/status_output.h"

#include <QSocketNotifier>
#include <cerrno>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "app/app_log.h"

namespace ovelsk {
namespace {

// A description of `fd`'s pipe or terminal of our own, in non-blocking mode; -1
// where none is needed or none can be had. Setting O_NONBLOCK on `fd` itself
// would reach every process sharing it, such as the shell on the same terminal.
int nonBlockingDescription(int fd) {
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !(S_ISFIFO(status.st_mode) || S_ISCHR(status.st_mode))) return -1;
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    return ::open(link.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
}

bool isSocket(int fd) {
    struct stat status {};
    return ::fstat(fd, &status) == 0 && S_ISSOCK(status.st_mode);
}

}  // namespace

// Regular files take what is written without keeping the writer long; sockets
// are written with MSG_DONTWAIT; pipes and terminals through a description of our own.
StatusOutput::StatusOutput(int fd, std::string lines, std::string stream)
    : fd_(fd), ownDescription_(nonBlockingDescription(fd)), socket_(isSocket(fd)), linesName_(std::move(lines)),
      streamName_(std::move(stream)) {
    if (ownDescription_ >= 0) fd_ = ownDescription_;
    writable_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Write);
    writable_->setEnabled(false);
    QObject::connect(writable_.get(), &QSocketNotifier::activated, [this] { flush(); });
}

StatusOutput::~StatusOutput() {
    flush();  // what the reader takes now; the rest is lost with the program
    writable_.reset();
    if (ownDescription_ >= 0) ::close(ownDescription_);
}

void StatusOutput::writeLine(std::string_view line) {
    if (unwritten_.size() + line.size() + 1 > kMaxUnwrittenStatusBytes) {
        ++droppedLines_;
        return;
    }
    unwritten_.append(line);
    unwritten_.push_back('\n');
    // While waiting for the reader, the notifier says when it has taken some.
    if (!writable_->isEnabled()) flush();
}

long StatusOutput::writeSome() {
    if (socket_) return ::send(fd_, unwritten_.data(), unwritten_.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
    return ::write(fd_, unwritten_.data(), unwritten_.size());
}

void StatusOutput::flush() {
    while (!unwritten_.empty()) {
        const long written = writeSome();
        if (written > 0) {
            unwritten_.erase(0, static_cast<std::size_t>(written));
        } else if (written < 0 && errno == EINTR) {
            continue;
        } else if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            writable_->setEnabled(true);
            return;
        } else {
            // The reader is gone for good: what it did not take is lost, as it would be.
            unwritten_.clear();
            droppedLines_ = 0;
        }
    }
    writable_->setEnabled(false);
    if (droppedLines_ > 0) {
        // Cleared first: when this writer carries the notes, the warning comes back through it.
        const std::size_t dropped = std::exchange(droppedLines_, 0);
        qCWarning(lcApp, "%zu %s were dropped while %s was not read", dropped, linesName_.c_str(),
                  streamName_.c_str());
    }
}

}  // namespace ovelsk
