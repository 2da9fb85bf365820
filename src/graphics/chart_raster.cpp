#include "graphics/chart_raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/angles.h"
#include "graphics/bitmap_font.h"

namespace miravel {

namespace {

// Dash patterns in pixels along the line: on, off, on, off.
constexpr int kDotPattern[] = {1, 2};
constexpr int kDashDotPattern[] = {6, 3, 1, 3};

// The pen: its width stamped as a filled circle at every point of the path,
// styled pens one pixel wide with their pattern.
class Pen {
  public:
    Pen(const ChartPrimitive& p, RgbImage& target)
        : color_(p.color),
          style_(p.style),
          width_(p.style == PenStyle::kSolid && p.penWidth > 1 ? p.penWidth : 1),
          target_(target) {}

    void Plot(int x, int y) {
        const bool on = PatternOn();
        ++step_;
        if (!on) return;
        if (width_ == 1) {
            target_.Set(x, y, color_);
            return;
        }
        // A round stamp width_ pixels across; an even width sits half a
        // pixel off the point.
        const int lo = -(width_ - 1) / 2, hi = width_ / 2;
        const double centre = (lo + hi) / 2.0;
        const double limit = width_ * width_ / 4.0;
        for (int dy = lo; dy <= hi; ++dy) {
            for (int dx = lo; dx <= hi; ++dx) {
                const double ex = dx - centre, ey = dy - centre;
                if (ex * ex + ey * ey <= limit) target_.Set(x + dx, y + dy, color_);
            }
        }
    }

  private:
    bool PatternOn() const {
        const int* pattern = nullptr;
        int count = 0;
        if (style_ == PenStyle::kDot) {
            pattern = kDotPattern;
            count = 2;
        } else if (style_ == PenStyle::kDashDot) {
            pattern = kDashDotPattern;
            count = 4;
        } else {
            return true;
        }
        int period = 0;
        for (int i = 0; i < count; ++i)
            period += pattern[i];
        int at = step_ % period;
        for (int i = 0; i < count; ++i) {
            if (at < pattern[i]) return i % 2 == 0;
            at -= pattern[i];
        }
        return true;
    }

    Rgb color_;
    PenStyle style_;
    int width_;
    RgbImage& target_;
    int step_ = 0;
};

// Bresenham's line, both ends included.
void DrawLine(Pen& pen, int x0, int y0, int x1, int y1) {
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        pen.Plot(x0, y0);
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void DrawArc(Pen& pen, const ChartPrimitive& p) {
    const double r = p.x1;
    if (r <= 0.0) {
        pen.Plot(p.x0, p.y0);
        return;
    }
    // Steps of under half a pixel along the circle, so the path has no gaps.
    const int steps =
        std::max(1, static_cast<int>(std::ceil(std::fabs(p.sweepDeg) * kPi / 180.0 * r * 2)));
    int lastX = 0, lastY = 0;
    for (int i = 0; i <= steps; ++i) {
        const double a = (p.startDeg + p.sweepDeg * i / steps) * kPi / 180.0;
        const int x = static_cast<int>(std::lround(p.x0 + r * std::cos(a)));
        const int y = static_cast<int>(std::lround(p.y0 - r * std::sin(a)));
        if (i > 0 && x == lastX && y == lastY) continue;
        pen.Plot(x, y);
        lastX = x;
        lastY = y;
    }
}

void DrawDisc(const ChartPrimitive& p, RgbImage& target) {
    const double cx = (p.x0 + p.x1) / 2.0, cy = (p.y0 + p.y1) / 2.0;
    const double rx = (p.x1 - p.x0) / 2.0, ry = (p.y1 - p.y0) / 2.0;
    if (rx <= 0.0 || ry <= 0.0) return;
    for (int y = p.y0; y < p.y1; ++y) {
        for (int x = p.x0; x < p.x1; ++x) {
            const double ex = (x + 0.5 - cx) / rx, ey = (y + 0.5 - cy) / ry;
            if (ex * ex + ey * ey <= 1.0) target.Set(x, y, p.color);
        }
    }
}

void DrawText(const Chart& chart, const ChartPrimitive& p, RgbImage& target) {
    const int scale = TextScaleFor(chart.height);
    int x = p.x0;
    for (const char ch : p.text) {
        const uint8_t* rows = GlyphRows(static_cast<uint8_t>(ch));
        for (int gy = 0; gy < kFontHeight; ++gy) {
            for (int gx = 0; gx < kFontWidth; ++gx) {
                if (!(rows[gy] & (0x80 >> gx))) continue;
                for (int sy = 0; sy < scale; ++sy) {
                    for (int sx = 0; sx < scale; ++sx)
                        target.Set(x + gx * scale + sx, p.y0 + gy * scale + sy, p.color);
                }
            }
        }
        x += kFontWidth * scale + chart.charSpacing;
    }
}

void DrawImage(const Chart& chart, const ChartPrimitive& p, RgbImage& target) {
    if (p.image < 0 || static_cast<size_t>(p.image) >= chart.images.size()) return;
    const RgbImage& src = chart.images[static_cast<size_t>(p.image)];
    const int64_t w = p.x1 - p.x0, h = p.y1 - p.y0;
    if (src.Empty() || w <= 0 || h <= 0) return;
    const int top = std::max(p.y0, 0), bottom = std::min(p.y1, target.Height());
    const int left = std::max(p.x0, 0), right = std::min(p.x1, target.Width());
    for (int y = top; y < bottom; ++y) {
        const Rgb* from = src.Row(static_cast<int>((y - p.y0) * src.Height() / h));
        Rgb* to = target.Row(y);
        for (int x = left; x < right; ++x)
            to[x] = from[(x - p.x0) * src.Width() / w];
    }
}

}  // namespace

int TextScaleFor(int screenHeight) {
    return std::max(1, screenHeight / 720);
}

void DrawPrimitive(const Chart& chart, const ChartPrimitive& p, RgbImage& target) {
    switch (p.kind) {
        case ChartPrimitive::kLine: {
            Pen pen(p, target);
            DrawLine(pen, p.x0, p.y0, p.x1, p.y1);
            break;
        }
        case ChartPrimitive::kArc: {
            Pen pen(p, target);
            DrawArc(pen, p);
            break;
        }
        case ChartPrimitive::kDisc:
            DrawDisc(p, target);
            break;
        case ChartPrimitive::kPixel:
            target.Set(p.x0, p.y0, p.color);
            break;
        case ChartPrimitive::kText:
            DrawText(chart, p, target);
            break;
        case ChartPrimitive::kImage:
            DrawImage(chart, p, target);
            break;
    }
}

RgbImage RenderChart(const Chart& chart) {
    RgbImage out(chart.width, chart.height);
    for (const ChartPrimitive& p : chart.items)
        DrawPrimitive(chart, p, out);
    return out;
}

}  // namespace miravel
