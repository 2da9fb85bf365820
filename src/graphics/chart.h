// The charts of the graph window as short lists of drawing primitives.
//
// Chart geometry (charts.h) decides what to draw; a renderer replays the list:
// RenderChart (chart_raster.h) into an RgbImage, the Windows graph window with
// GDI into its off-screen buffer. Coordinates are whole pixels of the W x H
// screen, x to the right and y down, (0, 0) the top-left corner. Replay the
// items in order over a black W x H surface, later items over earlier ones.
//
// The primitives and their GDI equivalents:
//
//   kLine   from (x0, y0) to (x1, y1) with a pen of `color`, `penWidth` and
//           `style`:  MoveToEx(x0, y0); LineTo(x1, y1).
//   kArc    circle arc centred on (x0, y0) with radius x1, starting at
//           `startDeg` and running `sweepDeg` degrees counter-clockwise as
//           seen on the screen (0° points right, 90° up), same pen as kLine:
//           MoveToEx(the start point); AngleArc(x0, y0, x1, startDeg, sweepDeg).
//   kDisc   filled ellipse in the box (x0, y0)-(x1, y1), right and bottom
//           edges excluded, outline and fill in `color`:
//           Ellipse(x0, y0, x1, y1) with a width-0 pen and a solid brush.
//   kPixel  the pixel (x0, y0) in `color`: SetPixel.
//   kText   `text` (Windows-1254) with its top-left corner at (x0, y0) in
//           `color`, transparent background, Chart::charSpacing extra pixels
//           after each character: SetTextColor, TextOut.
//   kImage  Chart::images[image] stretched over the box (x0, y0)-(x1, y1),
//           right and bottom edges excluded: StretchBlt (source copy) or a
//           bitmap loaded at that size and copied.
//
// Pen widths: 0 and 1 both draw one pixel wide. Styles other than kSolid are
// drawn one pixel wide, as GDI draws styled pens.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/image.h"

namespace miravel {

enum class PenStyle : uint8_t {
    kSolid,
    kDot,      // PS_DOT
    kDashDot,  // PS_DASHDOT
};

struct ChartPrimitive {
    enum Kind : uint8_t { kLine, kArc, kDisc, kPixel, kText, kImage };

    Kind kind = kPixel;
    Rgb color;
    PenStyle style = PenStyle::kSolid;
    int penWidth = 0;
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    double startDeg = 0.0, sweepDeg = 0.0;  // kArc
    std::string text;                       // kText
    int image = -1;                         // kImage: index into Chart::images
};

struct Chart {
    int width = 0, height = 0;  // W x H, the screen
    int charSpacing = 0;        // extra pixels after each character: W / 410
    std::vector<ChartPrimitive> items;
    std::vector<RgbImage> images;

    Chart() = default;
    Chart(int w, int h) : width(w), height(h), charSpacing(w / 410) {}

    void Line(int x0, int y0, int x1, int y1, Rgb color, int penWidth,
              PenStyle style = PenStyle::kSolid);
    void Arc(int cx, int cy, int radius, double startDeg, double sweepDeg, Rgb color, int penWidth);
    void Disc(int x0, int y0, int x1, int y1, Rgb color);
    void Pixel(int x, int y, Rgb color);
    void Text(int x, int y, std::string text, Rgb color);
    void Image(RgbImage image, int x0, int y0, int x1, int y1);
};

}  // namespace miravel
