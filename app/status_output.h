#pragma once
// Standard output carries the status lines and standard error the notes, and
// nobody may be reading them (a pager left open, a stuck log pipe). Writing then
// never blocks the event loop: lines the reader has not taken yet are kept, up to
// kMaxUnwrittenStatusBytes, and written as it takes them; lines beyond that are
// dropped, and once output flows again one warning (ovelsk.app) says how many.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

class QSocketNotifier;

namespace ovelsk {

inline constexpr std::size_t kMaxUnwrittenStatusBytes = 1024 * 1024;

class StatusOutput final {
public:
    // Writes to the open file `fd`, standard output in the program. Needs the Qt
    // event loop of the calling thread. The warning about dropped lines names
    // them and the stream by `lines` and `stream`.
    explicit StatusOutput(int fd, std::string lines = "status lines", std::string stream = "standard output");
    ~StatusOutput();
    StatusOutput(const StatusOutput&) = delete;
    StatusOutput& operator=(const StatusOutput&) = delete;

    // `line` and a line end, now or as soon as the reader takes it.
    void writeLine(std::string_view line);

    std::size_t unwrittenBytes() const { return unwritten_.size(); }

private:
    void flush();
    long writeSome();

    int fd_;
    int ownDescription_ = -1;  // a non-blocking description of the same pipe or terminal
    bool socket_ = false;
    std::string unwritten_;
    std::size_t droppedLines_ = 0;
    std::string linesName_;
    std::string streamName_;
    std::unique_ptr<QSocketNotifier> writable_;
};

}  // namespace ovelsk
