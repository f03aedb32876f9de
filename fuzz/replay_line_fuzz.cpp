// sources: feeds/line_reader.cpp feeds/replay_line.cpp
// Feeds arbitrary bytes, in pieces of arbitrary size, through the replay line
// reader and the replay line parser, and checks what they promise: whole lines
// only, none over the cap, and for every packet line a time, a channel that is
// the Internet stream or a radio port other than 100, and a non-empty packet.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "feeds/line_reader.h"
#include "feeds/replay_line.h"

namespace {

constexpr std::size_t kCap = 64;

void check(bool condition) {
    if (!condition) std::abort();
}

void checkLine(std::string_view line) {
    check(line.size() <= kCap);
    check(line.find('\n') == std::string_view::npos);
    const auto parsed = ovelsk::aprs::parseReplayLine(line);
    if (parsed.kind != ovelsk::aprs::ReplayLineKind::Packet) return;
    check(!parsed.line.packet.empty());
    check(parsed.line.sourceNumber >= 0);
    check(parsed.line.packet.data() >= line.data() &&
          parsed.line.packet.data() + parsed.line.packet.size() <= line.data() + line.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte sets the size of the pieces the bytes arrive in.
    const std::size_t piece = data[0] % 32 + 1;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    ovelsk::aprs::LineReader reader(kCap);
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        reader.feed(bytes.substr(at, piece));
        while (const auto line = reader.nextLine()) checkLine(*line);
    }
    while (const auto line = reader.finish()) checkLine(*line);
    return 0;
}
