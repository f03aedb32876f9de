// Replays the saved fuzzing corpus of the feed framers, so every input the
// fuzzer found interesting keeps being checked in ordinary and sanitizer runs.

#include <gtest/gtest.h>

#include "fuzz/feed_framing_checks.h"
#include "support/fuzz_corpus.h"

namespace ovelsk::aprs {
namespace {

TEST(KissAndLineFuzzCorpus, EveryInputKeepsTheFramersPromises) {
    const auto corpus = testing::fuzzCorpus("feed_framing");
    EXPECT_GT(corpus.size(), 100u);
    for (const auto& input : corpus) EXPECT_EQ(fuzzing::brokenPromise(input.bytes), "") << input.name;
}

}  // namespace
}  // namespace ovelsk::aprs
