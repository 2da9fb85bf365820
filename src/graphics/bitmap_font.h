// A small built-in bitmap font for the charts drawn without a system font:
// fixed cells of 6 x 13 pixels, Windows-1254 text (Turkish letters included).
#pragma once

#include <cstdint>

namespace miravel {

inline constexpr int kFontWidth = 6;
inline constexpr int kFontHeight = 13;

// Thirteen rows of the glyph of `c`, top row first, the leftmost of the six
// pixels in bit 7. Characters without a glyph show as '?'.
const uint8_t* GlyphRows(uint8_t c);

}  // namespace miravel
