// Our Windows-1254 conversion against the system's own.
#ifdef _WIN32

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "config/codepage.h"

namespace miravel {
namespace {

TEST(CodepagePeer, EveryByteConvertsAsTheSystemConvertsIt) {
    for (int b = 1; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        wchar_t wide[4] = {};
        ASSERT_EQ(MultiByteToWideChar(1254, 0, &byte, 1, wide, 4), 1) << b;
        EXPECT_EQ(static_cast<char32_t>(wide[0]), Cp1254ToCodePoint(static_cast<unsigned char>(b)))
            << b;
        char back[4] = {};
        BOOL lossy = FALSE;
        ASSERT_EQ(WideCharToMultiByte(1254, 0, wide, 1, back, 4, nullptr, &lossy), 1) << b;
        EXPECT_EQ(back[0], byte) << b;
        EXPECT_FALSE(lossy) << b;
    }
}

}  // namespace
}  // namespace miravel

#endif  // _WIN32
