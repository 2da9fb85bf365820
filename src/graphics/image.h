// An in-memory 24-bit picture: what the sky images, the world maps and the
// chart rasteriser draw into, and what the wallpaper file is written from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace miravel {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Rows top-down (y = 0 is the top row); (0, 0, 0) where nothing was drawn.
class RgbImage {
  public:
    RgbImage() = default;
    RgbImage(int width, int height, Rgb fill = Rgb{});

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    // Outside the picture: At gives black, Set does nothing, as drawing past
    // the edge of a device context does.
    Rgb At(int x, int y) const { return Contains(x, y) ? pixels_[Index(x, y)] : Rgb{}; }
    void Set(int x, int y, Rgb c) {
        if (Contains(x, y)) pixels_[Index(x, y)] = c;
    }
    void Fill(Rgb c);

    // Unchecked access for the composers' inner loops.
    Rgb* Row(int y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
    const Rgb* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }

    friend bool operator==(const RgbImage&, const RgbImage&) = default;

  private:
    size_t Index(int x, int y) const { return static_cast<size_t>(y) * width_ + x; }

    int width_ = 0, height_ = 0;
    std::vector<Rgb> pixels_;
};

// The source rectangle (0, 0, srcWidth, srcHeight) of `src` stretched to
// width x height by nearest pixel, as a source-copy stretch of a colour
// bitmap does.
RgbImage StretchImage(const RgbImage& src, int srcWidth, int srcHeight, int width, int height);

}  // namespace miravel
