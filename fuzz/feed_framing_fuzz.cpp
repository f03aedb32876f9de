// sources: feeds/line_reader.cpp aprs/kiss_deframer.cpp aprs/ax25_frame.cpp aprs/tnc2_packet.cpp
// Feeds arbitrary bytes, as one read and in small pieces, to the APRS-IS line
// reader and to the KISS deframer with AX.25 decoding, and stops at the first
// broken promise (see feed_framing_checks.h).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/feed_framing_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string problem =
        ovelsk::aprs::fuzzing::brokenPromise(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
