#include "graphics/chart.h"

#include <utility>

namespace miravel {

namespace {

// A primitive of `kind` in `color` at (x0, y0), (x1, y1); the rest as default.
ChartPrimitive Primitive(ChartPrimitive::Kind kind, Rgb color, int x0, int y0, int x1 = 0,
                         int y1 = 0) {
    ChartPrimitive p;
    p.kind = kind;
    p.color = color;
    p.x0 = x0;
    p.y0 = y0;
    p.x1 = x1;
    p.y1 = y1;
    return p;
}

}  // namespace

void Chart::Line(int x0, int y0, int x1, int y1, Rgb color, int penWidth, PenStyle style) {
    ChartPrimitive p = Primitive(ChartPrimitive::kLine, color, x0, y0, x1, y1);
    p.penWidth = penWidth;
    p.style = style;
    items.push_back(std::move(p));
}

void Chart::Arc(int cx, int cy, int radius, double startDeg, double sweepDeg, Rgb color,
                int penWidth) {
    ChartPrimitive p = Primitive(ChartPrimitive::kArc, color, cx, cy, radius);
    p.penWidth = penWidth;
    p.startDeg = startDeg;
    p.sweepDeg = sweepDeg;
    items.push_back(std::move(p));
}

void Chart::Disc(int x0, int y0, int x1, int y1, Rgb color) {
    items.push_back(Primitive(ChartPrimitive::kDisc, color, x0, y0, x1, y1));
}

void Chart::Pixel(int x, int y, Rgb color) {
    items.push_back(Primitive(ChartPrimitive::kPixel, color, x, y));
}

void Chart::Text(int x, int y, std::string text, Rgb color) {
    ChartPrimitive p = Primitive(ChartPrimitive::kText, color, x, y);
    p.text = std::move(text);
    items.push_back(std::move(p));
}

void Chart::Image(RgbImage image, int x0, int y0, int x1, int y1) {
    ChartPrimitive p = Primitive(ChartPrimitive::kImage, Rgb{}, x0, y0, x1, y1);
    p.image = static_cast<int>(images.size());
    images.push_back(std::move(image));
    items.push_back(std::move(p));
}

}  // namespace miravel
