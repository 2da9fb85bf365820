// Decimal text to scaled integers by the exact decimal value. Going through
// binary floating point would turn "41.01" x 100 into 4100; this gives 4101.
#pragma once

#include <cstdint>

namespace miravel {

// Reads an optional sign and a decimal number ("12", "-3.5", " .25") from the
// start of `text`, like the standard conversion: leading blanks skipped,
// digits up to the first character that cannot belong to the number. Returns
// trunc(value x multiplier) toward zero, saturated to the int32 range; 0 when
// no number starts the text. `*end`, when given, receives the first unread
// character (`text` itself when no number was found).
int32_t ScaleDecimal(const char* text, int32_t multiplier, const char** end = nullptr);

// Whole text must be one number (surrounding blanks allowed). Returns false,
// leaving *out unchanged, for anything else.
bool ParseScaledDecimal(const char* text, int32_t multiplier, int32_t* out);

}  // namespace miravel
