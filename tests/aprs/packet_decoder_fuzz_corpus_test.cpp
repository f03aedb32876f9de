// Replays the saved fuzzing corpus through the decoder, so every input the fuzzer
// found interesting keeps being checked in ordinary (and sanitizer) test runs.

#include "aprs/packet_decoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "support/fuzz_corpus.h"

namespace ovelsk::aprs {
namespace {

TEST(PacketDecoderFuzzCorpus, EveryInputDecodesOrDropsWithAReason)
{
    const auto corpus = testing::fuzzCorpus("decoder");
    ASSERT_FALSE(corpus.empty());
    for (const auto& input : corpus) {
        SCOPED_TRACE(input.name);
        const DecodeResult result = decodePacket(input.bytes);
        if (!result.packet) {
            EXPECT_LT(dropReasonIndex(result.dropReason), kDropReasonCount);
            continue;
        }
        EXPECT_TRUE(isValidSourceCallsign(result.packet->callsign)) << result.packet->callsign;
        EXPECT_LE(std::fabs(result.packet->position.latitude), 90.0);
        EXPECT_LE(std::fabs(result.packet->position.longitude), 180.0);
        EXPECT_EQ(result.packet->path.find_first_of(":\r\n "), std::string::npos) << result.packet->path;
    }
}

}  // namespace
}  // namespace ovelsk::aprs
