#include <gtest/gtest.h>

#include <string>

#include "config/codepage.h"

namespace miravel {
namespace {

std::string EveryByte() {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    return all;
}

// Every byte goes to Unicode and back unchanged, the seven that Windows-1254
// leaves without a character too (they are the C1 controls of the same
// number, as Windows converts them): a value written into a UTF-8 or UTF-16
// settings file reads back as it was.
TEST(Codepage, EveryByteGoesToUnicodeAndBack) {
    const std::string all = EveryByte();
    EXPECT_EQ(Utf8ToCp1254(Cp1254ToUtf8(all)), all);
    EXPECT_EQ(Utf16ToCp1254(Cp1254ToUtf16(all)), all);
    for (unsigned char b : {0x81, 0x8D, 0x8E, 0x8F, 0x90, 0x9D, 0x9E}) {
        EXPECT_EQ(Cp1254ToCodePoint(b), static_cast<char32_t>(b));
        EXPECT_EQ(CodePointToCp1254(b), static_cast<char>(b));
    }
    EXPECT_EQ(Cp1254ToCodePoint(0xFD), U'\u0131');    // ı
    EXPECT_EQ(CodePointToCp1254(U'\u011E'), '\xD0');  // Ğ
    EXPECT_EQ(CodePointToCp1254(U'\u0080'), '?');     // the euro sign took its byte
    EXPECT_EQ(CodePointToCp1254(U'\uFFFD'), '?');
}

}  // namespace
}  // namespace miravel
