// Replays the saved fuzzing corpus of the replay line reader and parser, so every
// input the fuzzer found interesting keeps being checked in ordinary and
// sanitizer test runs.

#include <gtest/gtest.h>

#include <string>

#include "feeds/line_reader.h"
#include "feeds/replay_line.h"
#include "support/fuzz_corpus.h"

namespace ovelsk::aprs {
namespace {

constexpr std::size_t kCap = 64;  // as in fuzz/replay_line_fuzz.cpp

void checkLine(std::string_view line) {
    EXPECT_LE(line.size(), kCap);
    EXPECT_EQ(line.find('\n'), std::string_view::npos);
    const auto parsed = parseReplayLine(line);
    if (parsed.kind != ReplayLineKind::Packet) return;
    EXPECT_FALSE(parsed.line.packet.empty());
    EXPECT_GE(parsed.line.sourceNumber, 0);
    EXPECT_EQ(line.substr(line.size() - parsed.line.packet.size()), parsed.line.packet) << "the rest of the line";
}

TEST(ReplayLineFuzzCorpus, EveryInputSplitsIntoCappedLinesAndParsesSafely) {
    const auto corpus = testing::fuzzCorpus("replay_line");
    EXPECT_GT(corpus.size(), 100u);
    for (const auto& [name, bytes] : corpus) {
        if (bytes.empty()) continue;
        SCOPED_TRACE(name);
        // The first byte sets the size of the pieces the rest arrives in.
        const std::size_t piece = static_cast<unsigned char>(bytes[0]) % 32 + 1;
        const std::string_view rest = std::string_view(bytes).substr(1);
        LineReader reader(kCap);
        for (std::size_t at = 0; at < rest.size(); at += piece) {
            reader.feed(rest.substr(at, piece));
            while (const auto line = reader.nextLine()) checkLine(*line);
        }
        while (const auto line = reader.finish()) checkLine(*line);
    }
}

}  // namespace
}  // namespace ovelsk::aprs
