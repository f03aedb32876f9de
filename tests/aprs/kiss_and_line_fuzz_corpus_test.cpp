// Replays the saved fuzzing corpus of the feed framers, so every input the
// fuzzer found interesting keeps being checked in ordinary and sanitizer runs.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz/feed_framing_checks.h"

namespace ovelsk::aprs {
namespace {

namespace fs = std::filesystem;

TEST(KissAndLineFuzzCorpus, EveryInputKeepsTheFramersPromises) {
    const fs::path folder = fs::path(OVELSK_SOURCE_DIR) / "fuzz/corpus/feed_framing";
    ASSERT_TRUE(fs::is_directory(folder)) << folder;
    int replayed = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_EQ(fuzzing::brokenPromise(bytes), "") << entry.path().filename();
        ++replayed;
    }
    EXPECT_GT(replayed, 100);
}

}  // namespace
}  // namespace ovelsk::aprs
