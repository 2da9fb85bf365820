// How the dialogs read and show the values of their fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace miravel {

// An integer field as the dialog reads it: blanks around it allowed, a sign
// only where `allowSign`, nothing else. Text that is no such number reads as
// 0; a number too large for 32 bits saturates, so that a range check still
// refuses it.
int32_t FieldInteger(std::string_view text, bool allowSign);

// Reads `count` integers separated by `separator` from the start of `text`,
// as "%d/%d/%d" scans: blanks before each number, an optional sign, at least
// one digit, the separator right after the digits; the rest is ignored.
// Values saturate to 32 bits. False when any of them is missing.
bool ScanSeparatedIntegers(std::string_view text, char separator, int count, int32_t* out);

// A decimal field as the dialog reads it: the number at the start of the
// text (blanks before it allowed, the rest ignored, 0 when none), times
// `multiplier`, truncated toward zero from its exact decimal value. A comma
// is a decimal separator as good as a point, as a Turkish keyboard types
// it and as the settlement list reads it: "41,01" is 41.01.
int32_t FieldDecimal(std::string_view text, int32_t multiplier);

// Copies at most `limit` bytes of `text` into `buffer` (of `size` bytes,
// limit < size) and terminates it.
void CopyCut(std::string_view text, size_t limit, char* buffer, size_t size);

}  // namespace miravel
