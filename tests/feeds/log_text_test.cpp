#include "feeds/log_text.h"

#include <gtest/gtest.h>

#include <string>

namespace ovelsk::aprs {
namespace {

TEST(LogText, AnEchoedValueIsCutAfterEightyBytesAndEscaped) {
    using namespace std::string_literals;
    const struct {
        std::string value;
        std::string shown;
    } cases[] = {
        {"kiss:localhost:8001", "kiss:localhost:8001"},
        {"a\tb\r\n\x1b[31m\x7f", "a\\x09b\\x0D\\x0A\\x1B[31m\\x7F"},
        {"nul\0here"s, "nul\\x00here"},
        {std::string(80, 'x'), std::string(80, 'x')},
        {std::string(81, 'x'), std::string(80, 'x') + "..."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(valueForLog(c.value), c.shown);
    }
}

}  // namespace
}  // namespace ovelsk::aprs
