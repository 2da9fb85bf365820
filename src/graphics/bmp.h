// The two source pictures (the moon and the land mask) and the 24-bit
// "wall.bmp" the sky images are written to.
//
// A source picture arrives either as a whole .bmp file (14-byte file header
// first) or as the bytes of a bitmap resource, which start directly with the
// 40-byte info header; the palette and the pixel rows follow in both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/image.h"

namespace miravel {

// An uncompressed palette bitmap of 1, 4 or 8 bits per pixel.
struct PaletteBitmap {
    int width = 0;
    int height = 0;  // rows; stored bottom-up (the first stored row is the bottom one)
    int bitsPerPixel = 0;
    int32_t xPelsPerMeter = 0, yPelsPerMeter = 0;
    std::vector<Rgb> palette;
    int stride = 0;             // bytes per stored row, a multiple of 4
    std::vector<uint8_t> bits;  // height x stride bytes, bottom row first

    bool Empty() const { return width == 0; }
    // Stored row r counts from the bottom; no bounds checks (callers loop
    // within width and height).
    const uint8_t* StoredRow(int r) const { return bits.data() + static_cast<size_t>(r) * stride; }
    int Index(int x, int r) const {
        const uint8_t* row = StoredRow(r);
        switch (bitsPerPixel) {
            case 1:
                return (row[x >> 3] >> (7 - (x & 7))) & 1;
            case 4:
                return (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
            default:
                return row[x];
        }
    }
    // The palette colour of a pixel; black for an index past the palette.
    Rgb Color(int x, int r) const {
        const size_t i = static_cast<size_t>(Index(x, r));
        return i < palette.size() ? palette[i] : Rgb{};
    }
};

// Parses a .bmp file or a bitmap resource. Returns false, leaving `out`
// empty, for anything that is not an uncompressed 1, 4 or 8 bit-per-pixel
// bitmap whose palette and rows lie wholly inside `data`.
bool ReadPaletteBitmap(const uint8_t* data, size_t size, PaletteBitmap* out);
bool LoadPaletteBitmap(const std::string& path, PaletteBitmap* out);

// The file-size and image-size fields of a written 24-bit bitmap: the
// wallpaper file leaves both 0, as Windows reads it; a picture meant for other
// programs carries the true sizes, which strict readers insist on.
enum class BmpSizeFields { kZero, kTrue };

// The wallpaper file: 14-byte file header, 40-byte info header with file size
// and image size as `sizes` says, the given resolution, no palette, then the
// rows bottom-up as blue, green, red, each padded with zeros to 4 bytes.
std::vector<uint8_t> EncodeWallBmp(const RgbImage& image, int32_t xPelsPerMeter,
                                   int32_t yPelsPerMeter,
                                   BmpSizeFields sizes = BmpSizeFields::kZero);
// Writes EncodeWallBmp to `path` ("wb"); false when the file cannot be
// created or written.
bool WriteWallBmp(const std::string& path, const RgbImage& image, int32_t xPelsPerMeter,
                  int32_t yPelsPerMeter, BmpSizeFields sizes = BmpSizeFields::kZero);

}  // namespace miravel
