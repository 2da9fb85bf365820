// The bitmap reader on any bytes: what it accepts lies wholly inside the
// input, every pixel reads, and the same bitmap written again as a file or as
// a resource reads back the same.
#include <vector>

#include "fuzz_input.h"
#include "graphics/bmp.h"

namespace {

using miravel::PaletteBitmap;

void Put(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// The bitmap as a resource (info header, palette, rows) or as a file.
std::vector<uint8_t> Write(const PaletteBitmap& b, bool asFile) {
    std::vector<uint8_t> out;
    const uint32_t rows = 40 + 4 * static_cast<uint32_t>(b.palette.size());
    if (asFile) {
        out = {'B', 'M'};
        Put(out, 14 + rows + static_cast<uint32_t>(b.bits.size()), 4);
        Put(out, 0, 4);
        Put(out, 14 + rows, 4);
    }
    Put(out, 40, 4);
    Put(out, static_cast<uint32_t>(b.width), 4);
    Put(out, static_cast<uint32_t>(b.height), 4);
    Put(out, 1, 2);
    Put(out, static_cast<uint32_t>(b.bitsPerPixel), 2);
    Put(out, 0, 4);
    Put(out, static_cast<uint32_t>(b.bits.size()), 4);
    Put(out, static_cast<uint32_t>(b.xPelsPerMeter), 4);
    Put(out, static_cast<uint32_t>(b.yPelsPerMeter), 4);
    Put(out, static_cast<uint32_t>(b.palette.size()), 4);
    Put(out, 0, 4);
    for (const miravel::Rgb& c : b.palette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    out.insert(out.end(), b.bits.begin(), b.bits.end());
    return out;
}

bool Same(const PaletteBitmap& a, const PaletteBitmap& b) {
    return a.width == b.width && a.height == b.height && a.bitsPerPixel == b.bitsPerPixel &&
           a.xPelsPerMeter == b.xPelsPerMeter && a.yPelsPerMeter == b.yPelsPerMeter &&
           a.palette == b.palette && a.stride == b.stride && a.bits == b.bits;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy, so that any read past the input is one past a heap block.
    const std::vector<uint8_t> bytes(data, data + size);
    PaletteBitmap b;
    b.width = 99;
    if (!miravel::ReadPaletteBitmap(bytes.data(), bytes.size(), &b)) {
        FUZZ_CHECK(b.Empty() && b.bits.empty() && b.palette.empty());
        return 0;
    }
    FUZZ_CHECK(b.width > 0 && b.height > 0);
    FUZZ_CHECK(b.bitsPerPixel == 1 || b.bitsPerPixel == 4 || b.bitsPerPixel == 8);
    FUZZ_CHECK(!b.palette.empty() && b.palette.size() <= (1u << b.bitsPerPixel));
    FUZZ_CHECK(b.stride % 4 == 0 && b.stride * 8 >= int64_t{b.width} * b.bitsPerPixel &&
               (b.stride - 4) * 8 < int64_t{b.width} * b.bitsPerPixel);
    FUZZ_CHECK(b.bits.size() == static_cast<size_t>(b.stride) * b.height);
    // The rows may overlap the palette (a file's row offset may point into
    // it), never the end of the input.
    FUZZ_CHECK(b.bits.size() + 40 <= size && 4 * b.palette.size() + 40 <= size);

    // Every pixel: its index from the row bits, its colour from the palette.
    const int per = 8 / b.bitsPerPixel;
    for (int r = 0; r < b.height; ++r) {
        for (int x = 0; x < b.width; ++x) {
            const uint8_t byte = b.bits[static_cast<size_t>(r) * b.stride + x / per];
            const int shift = 8 - b.bitsPerPixel * (x % per + 1);
            const int index = byte >> shift & ((1 << b.bitsPerPixel) - 1);
            FUZZ_CHECK(b.Index(x, r) == index);
            const miravel::Rgb c = b.Color(x, r);
            FUZZ_CHECK(static_cast<size_t>(index) < b.palette.size() ? c == b.palette[index]
                                                                     : c == miravel::Rgb{});
        }
    }

    for (bool asFile : {false, true}) {
        const std::vector<uint8_t> again = Write(b, asFile);
        PaletteBitmap c;
        FUZZ_CHECK(miravel::ReadPaletteBitmap(again.data(), again.size(), &c));
        FUZZ_CHECK(Same(b, c));
    }

    // The wallpaper encoder on the picture: header, then rows padded to 4.
    miravel::RgbImage image(b.width, b.height);
    for (int r = 0; r < b.height; ++r)
        for (int x = 0; x < b.width; ++x)
            image.Set(x, b.height - 1 - r, b.Color(x, r));
    const std::vector<uint8_t> wall = miravel::EncodeWallBmp(image, b.xPelsPerMeter, 7);
    const size_t rowBytes = (static_cast<size_t>(b.width) * 3 + 3) / 4 * 4;
    FUZZ_CHECK(wall.size() == 54 + rowBytes * b.height);
    if (b.width > 0) {
        const miravel::Rgb first = b.Color(0, 0);
        FUZZ_CHECK(wall[54] == first.b && wall[55] == first.g && wall[56] == first.r);
    }
    return 0;
}
