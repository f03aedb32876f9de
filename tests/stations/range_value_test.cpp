#include "stations/range_value.h"

#include <gtest/gtest.h>

namespace ovelsk {
namespace {

TEST(RangeValue, AcceptsPlainDecimals) {
    EXPECT_EQ(rangeValue("40"), 40.0f);
    EXPECT_EQ(rangeValue(" 12.5 "), 12.5f);
    EXPECT_EQ(rangeValue("\t-1.5e2"), -150.0f);
    EXPECT_EQ(rangeValue("+7"), 7.0f);
    EXPECT_EQ(rangeValue(".5"), 0.5f);
    EXPECT_EQ(rangeValue("5."), 5.0f);
    EXPECT_EQ(rangeValue("0.0"), 0.0f);
    EXPECT_EQ(rangeValue("1E3"), 1000.0f);
}

TEST(RangeValue, RejectsWhatIsNotAPlainNumber) {
    for (const char* text : {"", " ", "abc", "4O", "40 km", "1,5", "0x10", "nan", "NaN", "inf", "-Infinity", ".",
                             "+", "1e", "1e+", "--1", "1 0", "2,5"}) {
        EXPECT_FALSE(rangeValue(text).has_value()) << '"' << text << '"';
    }
}

TEST(RangeValue, RejectsValuesAFloatCannotHold) {
    EXPECT_FALSE(rangeValue("1E40").has_value());
    EXPECT_FALSE(rangeValue("-1E40").has_value());
    EXPECT_TRUE(rangeValue("3E38").has_value());
}

}  // namespace
}  // namespace ovelsk
