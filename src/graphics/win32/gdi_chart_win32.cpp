// The charts' primitives replayed with GDI.
#include <windows.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "base/win32/gdi_objects_win32.h"
#include "base/win32/wide_text.h"
#include "core/angles.h"
#include "graphics/chart_raster.h"
#include "graphics/win32/graphics_win32.h"

namespace miravel {

namespace {

// The label font's cell height at scale 1: about the system font's, so the
// labels sit on their legend lines as the charts place them (7 pixels up).
constexpr int kLabelCellHeight = 16;

COLORREF Ref(Rgb c) {
    return RGB(c.r, c.g, c.b);
}

int GdiPenStyle(PenStyle style) {
    switch (style) {
        case PenStyle::kDot:
            return PS_DOT;
        case PenStyle::kDashDot:
            return PS_DASHDOT;
        default:
            return PS_SOLID;
    }
}

// GDI draws styled pens one pixel wide only.
Pen MakePen(const ChartPrimitive& p) {
    const bool solid = p.style == PenStyle::kSolid;
    return Pen(CreatePen(GdiPenStyle(p.style), solid ? p.penWidth : 0, Ref(p.color)));
}

void DrawLine(HDC dc, const ChartPrimitive& p) {
    const Pen pen = MakePen(p);
    const Selection selected(dc, pen.Get());
    MoveToEx(dc, p.x0, p.y0, nullptr);
    LineTo(dc, p.x1, p.y1);
}

void DrawArc(HDC dc, const ChartPrimitive& p) {
    const Pen pen = MakePen(p);
    const Selection selected(dc, pen.Get());
    // AngleArc draws a line from the current position to the arc's start:
    // start there.
    const double a = p.startDeg * kPi / 180.0;
    MoveToEx(dc, static_cast<int>(std::lround(p.x0 + p.x1 * std::cos(a))),
             static_cast<int>(std::lround(p.y0 - p.x1 * std::sin(a))), nullptr);
    AngleArc(dc, p.x0, p.y0, static_cast<DWORD>(p.x1 > 0 ? p.x1 : 0),
             static_cast<float>(p.startDeg), static_cast<float>(p.sweepDeg));
}

void DrawDisc(HDC dc, const ChartPrimitive& p) {
    const Pen pen(CreatePen(PS_SOLID, 0, Ref(p.color)));
    const Brush brush(CreateSolidBrush(Ref(p.color)));
    const Selection penSelected(dc, pen.Get());
    const Selection brushSelected(dc, brush.Get());
    Ellipse(dc, p.x0, p.y0, p.x1, p.y1);
}

void DrawLabel(HDC dc, const ChartPrimitive& p) {
    const std::wstring text = Wide(p.text);
    SetTextColor(dc, Ref(p.color));
    TextOutW(dc, p.x0, p.y0, text.c_str(), static_cast<int>(text.size()));
}

// The picture as a bottom-up 32-bit device-independent bitmap, stretched
// over the box by whole pixels.
void DrawImage(HDC dc, const Chart& chart, const ChartPrimitive& p) {
    if (p.image < 0 || static_cast<size_t>(p.image) >= chart.images.size()) return;
    const RgbImage& image = chart.images[static_cast<size_t>(p.image)];
    if (image.Empty() || p.x1 <= p.x0 || p.y1 <= p.y0) return;
    const int w = image.Width(), h = image.Height();
    std::vector<uint32_t> bits(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (int y = 0; y < h; ++y) {
        const Rgb* from = image.Row(h - 1 - y);
        uint32_t* to = bits.data() + static_cast<size_t>(y) * static_cast<size_t>(w);
        for (int x = 0; x < w; ++x)
            to[x] = (uint32_t{from[x].r} << 16) | (uint32_t{from[x].g} << 8) | from[x].b;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, p.x0, p.y0, p.x1 - p.x0, p.y1 - p.y0, 0, 0, w, h, bits.data(), &info,
                  DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace

void ReplayChart(HDC dc, const Chart& chart) {
    const int scale = TextScaleFor(chart.height);
    const Font font(CreateFontW(kLabelCellHeight * scale, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma"));
    const Selection fontSelected(dc, font.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextCharacterExtra(dc, chart.charSpacing);
    for (const ChartPrimitive& p : chart.items) {
        switch (p.kind) {
            case ChartPrimitive::kLine:
                DrawLine(dc, p);
                break;
            case ChartPrimitive::kArc:
                DrawArc(dc, p);
                break;
            case ChartPrimitive::kDisc:
                DrawDisc(dc, p);
                break;
            case ChartPrimitive::kPixel:
                SetPixelV(dc, p.x0, p.y0, Ref(p.color));
                break;
            case ChartPrimitive::kText:
                DrawLabel(dc, p);
                break;
            case ChartPrimitive::kImage:
                DrawImage(dc, chart, p);
                break;
        }
    }
}

}  // namespace miravel
