#include "graphics/bmp.h"

#include <cstdio>
#include <memory>

namespace miravel {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;

uint32_t U32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t U16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

bool ReadPaletteBitmap(const uint8_t* data, size_t size, PaletteBitmap* out) {
    *out = PaletteBitmap{};
    if (!data) return false;
    // A file starts with "BM" and names the offset of its rows; a resource
    // starts with the info header and has the rows right after the palette.
    size_t info = 0;
    size_t pixelOffset = 0;
    if (size >= kFileHeaderSize + kInfoHeaderSize && data[0] == 'B' && data[1] == 'M') {
        info = kFileHeaderSize;
        pixelOffset = U32(data + 10);
    }
    if (size < info + kInfoHeaderSize) return false;
    const uint32_t headerSize = U32(data + info);
    if (headerSize < kInfoHeaderSize || headerSize > size - info) return false;
    const int32_t width = static_cast<int32_t>(U32(data + info + 4));
    const int32_t height = static_cast<int32_t>(U32(data + info + 8));
    const uint16_t bpp = U16(data + info + 14);
    const uint32_t compression = U32(data + info + 16);
    const uint32_t colorsUsed = U32(data + info + 32);
    if (width <= 0 || width > 32767 || height <= 0 || height > 32767) return false;
    if (compression != 0 || U16(data + info + 12) != 1) return false;
    if (bpp != 1 && bpp != 4 && bpp != 8) return false;
    const uint32_t maxColors = 1u << bpp;
    const uint32_t colors = colorsUsed == 0 || colorsUsed > maxColors ? maxColors : colorsUsed;
    const size_t paletteOffset = info + headerSize;
    if (colors * 4 > size - paletteOffset) return false;
    if (pixelOffset == 0) pixelOffset = paletteOffset + colors * 4;
    const size_t stride = ((static_cast<size_t>(width) * bpp + 31) / 32) * 4;
    const size_t bytes = stride * static_cast<size_t>(height);
    if (pixelOffset < paletteOffset || pixelOffset > size || bytes > size - pixelOffset) {
        return false;
    }

    out->width = width;
    out->height = height;
    out->bitsPerPixel = bpp;
    out->xPelsPerMeter = static_cast<int32_t>(U32(data + info + 24));
    out->yPelsPerMeter = static_cast<int32_t>(U32(data + info + 28));
    out->palette.resize(colors);
    for (uint32_t i = 0; i < colors; ++i) {
        const uint8_t* q = data + paletteOffset + 4 * i;  // blue, green, red, reserved
        out->palette[i] = Rgb{q[2], q[1], q[0]};
    }
    out->stride = static_cast<int>(stride);
    out->bits.assign(data + pixelOffset, data + pixelOffset + bytes);
    return true;
}

bool LoadPaletteBitmap(const std::string& path, PaletteBitmap* out) {
    *out = PaletteBitmap{};
    File f(std::fopen(path.c_str(), "rb"));
    if (!f) return false;
    std::vector<uint8_t> data;
    uint8_t chunk[8192];
    size_t n = 0;
    // Source pictures are small; anything past 64 MB is not one of them.
    while ((n = std::fread(chunk, 1, sizeof chunk, f.get())) > 0 && data.size() < (64u << 20))
        data.insert(data.end(), chunk, chunk + n);
    return ReadPaletteBitmap(data.data(), data.size(), out);
}

std::vector<uint8_t> EncodeWallBmp(const RgbImage& image, int32_t xPelsPerMeter,
                                   int32_t yPelsPerMeter, BmpSizeFields sizes) {
    const int w = image.Width(), h = image.Height();
    const size_t rowBytes = static_cast<size_t>(w) * 3;
    const size_t padding = (4 - rowBytes % 4) % 4;
    const size_t pixelBytes = (rowBytes + padding) * static_cast<size_t>(h);
    const size_t fileBytes = kFileHeaderSize + kInfoHeaderSize + pixelBytes;
    const bool trueSizes = sizes == BmpSizeFields::kTrue;
    std::vector<uint8_t> out;
    out.reserve(fileBytes);
    out.push_back('B');
    out.push_back('M');
    // File size: 0 for the wallpaper, whose readers take the rows from the header.
    Put32(out, trueSizes ? static_cast<uint32_t>(fileBytes) : 0);
    Put16(out, 0);
    Put16(out, 0);
    Put32(out, kFileHeaderSize + kInfoHeaderSize);
    Put32(out, kInfoHeaderSize);
    Put32(out, static_cast<uint32_t>(w));
    Put32(out, static_cast<uint32_t>(h));  // positive: bottom-up
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);                                                  // no compression
    Put32(out, trueSizes ? static_cast<uint32_t>(pixelBytes) : 0);  // may be 0 when uncompressed
    Put32(out, static_cast<uint32_t>(xPelsPerMeter));
    Put32(out, static_cast<uint32_t>(yPelsPerMeter));
    Put32(out, 0);
    Put32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        const Rgb* row = image.Row(y);
        for (int x = 0; x < w; ++x) {
            out.push_back(row[x].b);
            out.push_back(row[x].g);
            out.push_back(row[x].r);
        }
        out.insert(out.end(), padding, 0);
    }
    return out;
}

bool WriteWallBmp(const std::string& path, const RgbImage& image, int32_t xPelsPerMeter,
                  int32_t yPelsPerMeter, BmpSizeFields sizes) {
    const std::vector<uint8_t> bytes = EncodeWallBmp(image, xPelsPerMeter, yPelsPerMeter, sizes);
    File f(std::fopen(path.c_str(), "wb"));
    if (!f) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
    return std::fclose(f.release()) == 0 && written;
}

}  // namespace miravel
