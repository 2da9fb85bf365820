#include "graphics/image.h"

#include <algorithm>

namespace miravel {

RgbImage::RgbImage(int width, int height, Rgb fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)) {
    if (width_ == 0 || height_ == 0) width_ = height_ = 0;
    pixels_.assign(static_cast<size_t>(width_) * height_, fill);
}

void RgbImage::Fill(Rgb c) {
    std::fill(pixels_.begin(), pixels_.end(), c);
}

RgbImage StretchImage(const RgbImage& src, int srcWidth, int srcHeight, int width, int height) {
    srcWidth = std::clamp(srcWidth, 0, src.Width());
    srcHeight = std::clamp(srcHeight, 0, src.Height());
    RgbImage out(width, height);
    if (out.Empty() || srcWidth == 0 || srcHeight == 0) return out;
    std::vector<int> column(static_cast<size_t>(out.Width()));
    for (int x = 0; x < out.Width(); ++x)
        column[x] = static_cast<int>(static_cast<int64_t>(x) * srcWidth / out.Width());
    for (int y = 0; y < out.Height(); ++y) {
        const Rgb* from =
            src.Row(static_cast<int>(static_cast<int64_t>(y) * srcHeight / out.Height()));
        Rgb* to = out.Row(y);
        for (int x = 0; x < out.Width(); ++x)
            to[x] = from[column[x]];
    }
    return out;
}

}  // namespace miravel
