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

TEST(CopyCut, LimitAndBuffer) {
    char buffer[16];
    CopyCut("İstanbulBüyükşehir", 15, buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer).size(), 15u);
    CopyCut("kısa", 15, buffer, 4);
    EXPECT_STREQ(buffer, "kıs");
}

}  // namespace
}  // namespace miravel
