// Windows-1254 (Turkish) text to Unicode and back. The program keeps all of
// its text in Windows-1254; terminals, JSON and the wide Win32 API want Unicode.
#pragma once

#include <string>
#include <string_view>

namespace miravel {

char32_t Cp1254ToCodePoint(unsigned char c);
// Returns '?' for code points that Windows-1254 cannot hold.
char CodePointToCp1254(char32_t cp);

std::string Cp1254ToUtf8(std::string_view text);
std::u16string Cp1254ToUtf16(std::string_view text);
// Invalid UTF-8 sequences become '?'.
std::string Utf8ToCp1254(std::string_view text);
std::string Utf16ToCp1254(std::u16string_view text);

}  // namespace miravel
