// The program keeps its text in Windows-1254; the wide Win32 API takes
// UTF-16. These convert at that boundary, so Turkish letters show right
// whatever the system's ANSI code page is.
#pragma once

#include <string>
#include <string_view>

#include "config/codepage.h"

namespace miravel {

inline std::wstring Wide(std::string_view cp1254) {
    const std::u16string u = Cp1254ToUtf16(cp1254);
    return std::wstring(u.begin(), u.end());
}

inline std::u16string AsU16(std::wstring_view text) {
    return std::u16string(text.begin(), text.end());
}

// Characters that Windows-1254 cannot hold become '?'.
inline std::string Narrow(std::wstring_view utf16) {
    return Utf16ToCp1254(AsU16(utf16));
}

// Copies `text` into a fixed wide field of `size` characters, cut and
// terminated.
inline void CopyToField(std::wstring_view text, wchar_t* field, size_t size) {
    if (size == 0) return;
    const size_t n = text.size() < size - 1 ? text.size() : size - 1;
    text.copy(field, n);
    field[n] = L'\0';
}

}  // namespace miravel
