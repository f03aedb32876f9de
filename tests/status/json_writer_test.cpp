// JSON strings: every byte sequence that is not well-formed UTF-8 becomes
// U+FFFD, byte by byte, and well-formed text passes as it is.
#include <gtest/gtest.h>

#include "status/json_writer.h"

namespace ovelsk {
namespace {

TEST(JsonWriter, ReplacesWhatIsNotUtf8) {
    struct Case {
        const char* what;
        std::string_view text;
        const char* json;
    };
    const Case cases[] = {
        {"two-byte", "\xC3\xA9", "\"\xC3\xA9\""},
        {"three-byte", "\xE2\x82\xAC", "\"\xE2\x82\xAC\""},
        {"four-byte", "\xF0\x9F\x93\xA1", "\"\xF0\x9F\x93\xA1\""},
        {"lone continuation", "\x80", "\"\xEF\xBF\xBD\""},
        {"overlong slash", "\xC0\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
        {"overlong three-byte", "\xE0\x80\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
        {"surrogate", "\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
        {"above U+10FFFF", "\xF4\x90\x80\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
        {"cut short at the end", "a\xE2\x82", "\"a\xEF\xBF\xBD\xEF\xBF\xBD\""},
        {"NUL", std::string_view("\0", 1), "\"\\u0000\""},
    };
    for (const auto& c : cases) {
        JsonWriter json;
        json.string(c.text);
        EXPECT_EQ(json.bytes().toStdString(), c.json) << c.what;
    }
}

}  // namespace
}  // namespace ovelsk
