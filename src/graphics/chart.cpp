#include "graphics/chart.h"

#include <utility>

namespace miravel {

void Chart::Line(int x0, int y0, int x1, int y1, Rgb color, int penWidth, PenStyle style) {
    ChartPrimitive p;
    p.kind = ChartPrimitive::kLine;
    p.color = color;
    p.penWidth = penWidth;
    p.style = style;
    p.x0 = x0;
    p.y0 = y0;
    p.x1 = x1;
    p.y1 = y1;
    items.push_back(std::move(p));
}

void Chart::Arc(int cx, int cy, int radius, double startDeg, double sweepDeg, Rgb color,
                int penWidth) {
    ChartPrimitive p;
    p.kind = ChartPrimitive::kArc;
    p.color = color;
    p.penWidth = penWidth;
    p.x0 = cx;
    p.y0 = cy;
    p.x1 = radius;
    p.startDeg = startDeg;
    p.sweepDeg = sweepDeg;
    items.push_back(std::move(p));
}

void Chart::Disc(int x0, int y0, int x1, int y1, Rgb color) {
    ChartPrimitive p;
    p.kind = ChartPrimitive::kDisc;
    p.color = color;
    p.x0 = x0;
    p.y0 = y0;
    p.x1 = x1;
    p.y1 = y1;
    items.push_back(std::move(p));
}

void Chart::Pixel(int x, int y, Rgb color) {
    ChartPrimitive p;
    p.kind = ChartPrimitive::kPixel;
    p.color = color;
    p.x0 = x;
    p.y0 = y;
    items.push_back(std::move(p));
}

void Chart::Text(int x, int y, std::string text, Rgb color) {
    ChartPrimitive p;
    p.kind = ChartPrimitive::kText;
    p.color = color;
    p.x0 = x;
    p.y0 = y;
    p.text = std::move(text);
    items.push_back(std::move(p));
}

void Chart::Image(RgbImage image, int x0, int y0, int x1, int y1) {
    ChartPrimitive p;
    p.kind = ChartPrimitive::kImage;
    p.x0 = x0;
    p.y0 = y0;
    p.x1 = x1;
    p.y1 = y1;
    p.image = static_cast<int>(images.size());
    images.push_back(std::move(image));
    items.push_back(std::move(p));
}

}  // namespace miravel
