#include "config/decimal_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace miravel {
namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

TEST(DecimalText, ScalesByTheExactDecimalValue) {
    EXPECT_EQ(ScaleDecimal("41.01", 100), 4101);
    EXPECT_EQ(ScaleDecimal("-17.03", 100), -1703);
    EXPECT_EQ(ScaleDecimal(" .25", 100), 25);
    EXPECT_EQ(ScaleDecimal("3.", 60), 180);
    EXPECT_EQ(ScaleDecimal("-3.5", 60), -210);
    EXPECT_EQ(ScaleDecimal("+2.999", 1), 2);  // toward zero
    EXPECT_EQ(ScaleDecimal("-2.999", 1), -2);
    EXPECT_EQ(ScaleDecimal("2.5", -2), -5);
    EXPECT_EQ(ScaleDecimal("abc", 100), 0);
    EXPECT_EQ(ScaleDecimal("-.", 100), 0);
    const char* text = "12.5kg";
    const char* end = nullptr;
    EXPECT_EQ(ScaleDecimal(text, 10, &end), 125);
    EXPECT_EQ(end, text + 4);
}

// One sixtieth of an hour written to ten places is a minute; a reader that
// stops after nine places makes it 0.99999996 and truncates to 0.
TEST(DecimalText, EveryFractionDigitCounts) {
    EXPECT_EQ(ScaleDecimal("0.0166666667", 60), 1);
    EXPECT_EQ(ScaleDecimal("0.0166666666", 60), 0);
    EXPECT_EQ(ScaleDecimal("-5.50000000000000000001", 60), -330);
    EXPECT_EQ(ScaleDecimal("0.99999999999999999999999", 1000), 999);
    EXPECT_EQ(ScaleDecimal("0.001", 1000), 1);
    EXPECT_EQ(ScaleDecimal("0.0009999999999999", 1000), 0);
    // A thousand digits are read through and still give the exact result.
    const std::string many = "0.0" + std::string(1000, '9');
    EXPECT_EQ(ScaleDecimal(many.c_str(), 100), 9);
    EXPECT_EQ(ScaleDecimal("0.1234567891", kMax), 265121435);  // 0.1234567891 x 2147483647
}

TEST(DecimalText, SaturatesToTheWholeInt32Range) {
    EXPECT_EQ(ScaleDecimal("-2147483648", 1), kMin);
    EXPECT_EQ(ScaleDecimal("2147483647", 1), kMax);
    EXPECT_EQ(ScaleDecimal("2147483648", 1), kMax);
    EXPECT_EQ(ScaleDecimal("-2147483649", 1), kMin);
    EXPECT_EQ(ScaleDecimal("-2147483648.9", 1), kMin);
    EXPECT_EQ(ScaleDecimal("-2147483647.9", 1), -2147483647);
    EXPECT_EQ(ScaleDecimal("-99999999999999999999999", 100), kMin);
    EXPECT_EQ(ScaleDecimal("99999999999999999999999", 100), kMax);
    EXPECT_EQ(ScaleDecimal("-21474836.48", 100), kMin);
    EXPECT_EQ(ScaleDecimal("21474836.48", 100), kMax);
    EXPECT_EQ(ScaleDecimal("1", kMin), kMin);
    EXPECT_EQ(ScaleDecimal("-1", kMin), kMax);
    // Zero times a number past the range is still zero.
    EXPECT_EQ(ScaleDecimal("99993999067", 0), 0);
    EXPECT_EQ(ScaleDecimal("-99993999067.5", 0), 0);

    int32_t out = 7;
    EXPECT_TRUE(ParseScaledDecimal(" -2147483648 ", 1, &out));
    EXPECT_EQ(out, kMin);
    EXPECT_FALSE(ParseScaledDecimal("1.5x", 1, &out));
    EXPECT_FALSE(ParseScaledDecimal("", 1, &out));
    EXPECT_EQ(out, kMin);
}

}  // namespace
}  // namespace miravel
