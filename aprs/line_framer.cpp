#include "aprs/line_framer.h"

namespace ovelsk::aprs {

namespace {

// A CR before the LF still belongs to the line end, not to the line.
constexpr std::size_t kMaxUnfinishedBytes = LineFramer::kMaxLineBytes + 1;

}  // namespace

void LineFramer::feed(std::string_view bytes, const LineHandler& onLine) {
    while (!bytes.empty()) {
        const auto end = bytes.find('\n');
        if (end == std::string_view::npos) {
            keepUnfinished(bytes);
            return;
        }
        finishLine(bytes.substr(0, end), onLine);
        bytes.remove_prefix(end + 1);
    }
}

void LineFramer::finishLine(std::string_view rest, const LineHandler& onLine) {
    if (discarding_) {
        discarding_ = false;
        return;
    }
    std::string_view line = rest;
    if (!unfinished_.empty()) {
        if (unfinished_.size() + rest.size() > kMaxUnfinishedBytes) {
            unfinished_.clear();
            ++droppedLines_;
            return;
        }
        unfinished_.append(rest);
        line = unfinished_;
    }
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    if (line.size() > kMaxLineBytes) {
        ++droppedLines_;
    } else if (!line.empty()) {
        onLine(line);
    }
    unfinished_.clear();
}

void LineFramer::keepUnfinished(std::string_view bytes) {
    if (discarding_) {
        return;
    }
    if (unfinished_.size() + bytes.size() > kMaxUnfinishedBytes) {
        unfinished_.clear();
        discarding_ = true;
        ++droppedLines_;
        return;
    }
    unfinished_.append(bytes);
}

void LineFramer::reset() {
    unfinished_.clear();
    discarding_ = false;
}

}  // namespace ovelsk::aprs
