#pragma once
// Splits a byte stream that arrives in pieces into lines. Bytes of an unfinished
// line are kept until its end arrives; a line longer than the cap is dropped
// whole (and counted) instead of growing the buffer without bound. Line ends are
// "\n" with an optional "\r" before it; the bytes are never decoded as text.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ovelsk::aprs {

class LineReader {
public:
    explicit LineReader(std::size_t maxLineBytes = 4096) : maxLineBytes_(maxLineBytes) {}

    // Appends bytes read from the source.
    void feed(std::string_view bytes);

    // The next whole line without its line end, or nullopt until more bytes come.
    // The view stays valid until the next call of feed() or nextLine().
    std::optional<std::string_view> nextLine();

    // At the end of the source: the unfinished last line, if any, as a line.
    std::optional<std::string_view> finish();

    // Forgets every byte, to read a source again from its start.
    void reset();

    std::size_t overlongLines() const { return overlongLines_; }

private:
    void compact();

    std::size_t maxLineBytes_;
    std::string buffer_;
    std::size_t start_ = 0;    // first byte not yet returned
    bool skipping_ = false;    // inside an overlong line, dropping bytes up to its end
    std::size_t overlongLines_ = 0;
};

}  // namespace ovelsk::aprs
