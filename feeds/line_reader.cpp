#include "feeds/line_reader.h"

namespace ovelsk::aprs {

void LineReader::feed(std::string_view bytes) {
    compact();
    buffer_.append(bytes);
}

void LineReader::compact() {
    if (start_ == 0) return;
    buffer_.erase(0, start_);
    start_ = 0;
}

void LineReader::reset() {
    buffer_.clear();
    start_ = 0;
    skipping_ = false;
    overlongLines_ = 0;
}

std::optional<std::string_view> LineReader::nextLine() {
    while (true) {
        const std::string_view pending = std::string_view(buffer_).substr(start_);
        const auto eol = pending.find('\n');
        if (eol == std::string_view::npos) {
            // One byte over the cap may still be the CR before the line's LF.
            if (pending.size() > maxLineBytes_ + 1) {
                // Never keep more than the cap: drop what we have and skip to the line end.
                if (!skipping_) ++overlongLines_;
                skipping_ = true;
                buffer_.clear();
                start_ = 0;
            }
            return std::nullopt;
        }
        start_ += eol + 1;
        auto line = pending.substr(0, eol);
        if (skipping_) {
            skipping_ = false;
            continue;
        }
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.size() > maxLineBytes_) {
            ++overlongLines_;
            continue;
        }
        return line;
    }
}

std::optional<std::string_view> LineReader::finish() {
    if (auto line = nextLine()) return line;
    const std::string_view rest = std::string_view(buffer_).substr(start_);
    start_ = buffer_.size();
    if (skipping_) {
        skipping_ = false;
        return std::nullopt;
    }
    if (rest.empty()) return std::nullopt;
    auto line = rest;
    if (line.back() == '\r') line.remove_suffix(1);
    if (line.size() > maxLineBytes_) {
        ++overlongLines_;
        return std::nullopt;
    }
    return line;
}

}  // namespace ovelsk::aprs
