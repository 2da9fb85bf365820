#include "ui/form_fields.h"

#include <gtest/gtest.h>

namespace miravel {
namespace {

TEST(FieldInteger, WholeTextMustBeTheNumber) {
    EXPECT_EQ(FieldInteger("42", false), 42);
    EXPECT_EQ(FieldInteger("  -7 ", true), -7);
    EXPECT_EQ(FieldInteger("+7", true), 7);
    EXPECT_EQ(FieldInteger("-7", false), 0);
    EXPECT_EQ(FieldInteger("7x", true), 0);
    EXPECT_EQ(FieldInteger("", true), 0);
    EXPECT_EQ(FieldInteger("-", true), 0);
    EXPECT_EQ(FieldInteger("1 2", true), 0);
    EXPECT_EQ(FieldInteger("99999999999", true), INT32_MAX);
    EXPECT_EQ(FieldInteger("-99999999999", true), INT32_MIN);
}

TEST(ScanSeparatedIntegers, AsTheScanfPatternDoes) {
    int32_t v[3] = {};
    ASSERT_TRUE(ScanSeparatedIntegers(" 5/ 6/-7 sonra", '/', 3, v));
    EXPECT_EQ(v[0], 5);
    EXPECT_EQ(v[1], 6);
    EXPECT_EQ(v[2], -7);
    EXPECT_FALSE(ScanSeparatedIntegers("5 /6/7", '/', 3, v));  // the separator right after
    EXPECT_FALSE(ScanSeparatedIntegers("5/6", '/', 3, v));
    EXPECT_FALSE(ScanSeparatedIntegers("a/6/7", '/', 3, v));
    ASSERT_TRUE(ScanSeparatedIntegers("12:345678901234", ':', 2, v));
    EXPECT_EQ(v[1], INT32_MAX);
}

TEST(FieldDecimal, CommaOrPointAsTheDecimalSeparator) {
    EXPECT_EQ(FieldDecimal("41,01", 100), 4101);
    EXPECT_EQ(FieldDecimal("41.01", 100), 4101);
    EXPECT_EQ(FieldDecimal(" -3,5", 60), -210);
    EXPECT_EQ(FieldDecimal("-18,25", 100), -1825);
    EXPECT_EQ(FieldDecimal(",5", 100), 50);
    EXPECT_EQ(FieldDecimal("41,", 100), 4100);
    EXPECT_EQ(FieldDecimal("28,97 derece", 100), 2897);
    // Only the first separator counts; what follows the number is ignored.
    EXPECT_EQ(FieldDecimal("41,01,5", 100), 4101);
    EXPECT_EQ(FieldDecimal("1.234,5", 100), 123);
    EXPECT_EQ(FieldDecimal("kuzey", 100), 0);
    EXPECT_EQ(FieldDecimal(",", 100), 0);
    EXPECT_EQ(FieldDecimal("", 100), 0);
    EXPECT_EQ(FieldDecimal("99999999999,5", 100), INT32_MAX);
}

TEST(CopyCut, LimitAndBuffer) {
    char buffer[16];
    CopyCut("İstanbulBüyükşehir", 15, buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer).size(), 15u);
    CopyCut("kısa", 15, buffer, 4);
    EXPECT_STREQ(buffer, "kıs");
}

}  // namespace
}  // namespace miravel
