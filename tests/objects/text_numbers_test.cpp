// Numbers read from untrusted text: only whole, finite, in-range values pass.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "text_numbers.h"

namespace {

TEST(TextNumbers, IntegersMustBeWholeAndInRange) {
    int value = 5;
    EXPECT_TRUE(ParseIntText("42", value));
    EXPECT_EQ(42, value);
    EXPECT_TRUE(ParseIntText(" -7 ", value));
    EXPECT_EQ(-7, value);
    for (const char* bad : {"", "2.5", "12abc", "abc", "99999999999", "-99999999999", " "}) {
        value = 5;
        EXPECT_FALSE(ParseIntText(bad, value)) << bad;
        EXPECT_EQ(5, value) << "left alone on failure: " << bad;
    }
}

TEST(TextNumbers, FloatsMustBeFiniteAndFitAFloat) {
    float value = 5.0f;
    EXPECT_TRUE(ParseFloatText("1.5", value));
    EXPECT_FLOAT_EQ(1.5f, value);
    EXPECT_TRUE(ParseFloatText("-2e3 ", value));
    EXPECT_FLOAT_EQ(-2000.0f, value);
    for (const char* bad : {"", "inf", "nan", "1e39", "-1e39", "1,2", "1.5x", "x"}) {
        value = 5.0f;
        EXPECT_FALSE(ParseFloatText(bad, value)) << bad;
        EXPECT_FLOAT_EQ(5.0f, value) << bad;
    }
}

TEST(TextNumbers, DecimalsTruncateTowardZeroWithinIntRange) {
    int value = 0;
    EXPECT_TRUE(ParseTruncatedIntText("99.9", value));
    EXPECT_EQ(99, value);
    EXPECT_TRUE(ParseTruncatedIntText("-99.9", value));
    EXPECT_EQ(-99, value);
    EXPECT_FALSE(ParseTruncatedIntText("3e9", value));
    EXPECT_FALSE(ParseTruncatedIntText("nan", value));
    EXPECT_FALSE(ParseTruncatedIntText("", value));

    EXPECT_EQ(2, TruncateToInt(2.9));
    EXPECT_EQ(-2, TruncateToInt(-2.9));
    EXPECT_EQ(INT_MAX, TruncateToInt(1e20));
    EXPECT_EQ(INT_MIN, TruncateToInt(-1e20));
    EXPECT_EQ(INT_MAX, TruncateToInt(2147483648.0));
    EXPECT_EQ(0, TruncateToInt(std::nan("")));
}

}  // namespace
