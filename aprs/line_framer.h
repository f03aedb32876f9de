#pragma once
// Splits a byte stream into lines as they arrive, keeping the unfinished line
// between reads. Lines end with LF, optionally preceded by CR; the bytes of a
// line are passed on exactly as received, without the line end. A line longer
// than kMaxLineBytes is dropped whole and reading resumes at the next line end.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace ovelsk::aprs {

class LineFramer {
public:
    static constexpr std::size_t kMaxLineBytes = 512;

    using LineHandler = std::function<void(std::string_view line)>;

    // Calls onLine for every non-empty line that `bytes` completes.
    void feed(std::string_view bytes, const LineHandler& onLine);

    // Forgets an unfinished line, as when the connection it came from is gone.
    void reset();

    std::size_t droppedLines() const { return droppedLines_; }

private:
    void finishLine(std::string_view rest, const LineHandler& onLine);
    void keepUnfinished(std::string_view bytes);

    std::string unfinished_;
    bool discarding_ = false;  // inside an over-long line, waiting for its end
    std::size_t droppedLines_ = 0;
};

}  // namespace ovelsk::aprs
