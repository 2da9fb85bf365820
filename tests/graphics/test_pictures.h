// What the graphics tests draw from: the shipped earth bitmap and blank
// 1-bit masks of any size.
#pragma once

#include "graphics/bmp.h"

namespace miravel {

inline const PaletteBitmap& ShippedEarth() {
    static const PaletteBitmap earth = [] {
        PaletteBitmap b;
        LoadPaletteBitmap(MIRAVEL_SOURCE_DIR "/resources/earth.bmp", &b);
        return b;
    }();
    return earth;
}

// All sea (index 0), black and white palette.
inline PaletteBitmap BlankMask(int w, int h) {
    PaletteBitmap b;
    b.width = w;
    b.height = h;
    b.bitsPerPixel = 1;
    b.palette = {Rgb{}, Rgb{255, 255, 255}};
    b.stride = ((w + 31) / 32) * 4;
    b.bits.assign(static_cast<size_t>(b.stride) * h, 0);
    return b;
}

}  // namespace miravel
