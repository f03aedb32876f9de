// Replays the saved fuzzing corpus through the decoder, so every input the fuzzer
// found interesting keeps being checked in ordinary (and sanitizer) test runs.

#include "aprs/packet_decoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace ovelsk::aprs {
namespace {

namespace fs = std::filesystem;

TEST(PacketDecoderFuzzCorpus, EveryInputDecodesOrDropsWithAReason)
{
    const fs::path folder = fs::path(OVELSK_SOURCE_DIR) / "fuzz/corpus/decoder";
    ASSERT_TRUE(fs::is_directory(folder)) << folder;
    int replayed = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        SCOPED_TRACE(entry.path().filename().string());
        const DecodeResult result = decodePacket(bytes);
        ++replayed;
        if (!result.packet) {
            EXPECT_FALSE(result.dropReason.empty());
            continue;
        }
        EXPECT_TRUE(isValidSourceCallsign(result.packet->callsign)) << result.packet->callsign;
        EXPECT_LE(std::fabs(result.packet->position.latitude), 90.0);
        EXPECT_LE(std::fabs(result.packet->position.longitude), 180.0);
        EXPECT_EQ(result.packet->path.find_first_of(":\r\n "), std::string::npos) << result.packet->path;
    }
    EXPECT_GT(replayed, 0);
}

}  // namespace
}  // namespace ovelsk::aprs
