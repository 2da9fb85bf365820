// The graph window: a borderless pop-up over the whole screen, topmost while
// a chart is shown, hidden again by a key or a click. Charts are drawn off
// screen and copied to it in one step, inside the main window's handling of
// the chart command.
#include <windows.h>

#include "app/win32/app_win32.h"
#include "app/win32/graph_window_win32.h"
#include "base/win32/gdi_objects_win32.h"
#include "config/zone_offset.h"
#include "graphics/bmp.h"
#include "graphics/chart_command.h"
#include "graphics/win32/graphics_win32.h"

namespace miravel {

namespace {

// Set by WM_DISPLAYCHANGE; until then the desktop's size read at start-up.
bool screenChanged = false;
SIZE changedScreen = {};

// The off-screen buffer of one drawing: a memory context compatible with
// the window's, holding a black W x H bitmap, white text on a transparent
// background with W / 410 pixels between characters.
class ChartBuffer {
  public:
    ChartBuffer(HDC windowDc, int width, int height)
        : dc_(windowDc),
          bitmap_(CreateCompatibleBitmap(windowDc, width, height)),
          selected_(dc_.Get(), bitmap_.Get()) {
        const RECT all = {0, 0, width, height};
        FillRect(dc_.Get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        SetBkMode(dc_.Get(), TRANSPARENT);
        SetTextColor(dc_.Get(), RGB(255, 255, 255));
        SetTextCharacterExtra(dc_.Get(), width / 410);
    }

    HDC Get() const { return dc_.Get(); }
    bool Usable() const { return dc_ && bitmap_; }

  private:
    // Released in reverse: the bitmap is selected out, deleted, then the
    // context goes.
    MemoryDc dc_;
    Bitmap bitmap_;
    Selection selected_;
};

// Shows the window topmost at screen size and holds its painting context
// and the buffer until the drawing is copied.
class ChartSession {
  public:
    ChartSession(HWND window, int width, int height)
        : width_(width),
          height_(height),
          window_(ShowTopmost(window, width, height)),
          paint_(window_),
          buffer_(paint_.Get(), width, height) {}

    HDC Buffer() const { return buffer_.Get(); }
    bool Usable() const { return paint_.Get() != nullptr && buffer_.Usable(); }
    void CopyToWindow() const {
        BitBlt(paint_.Get(), 0, 0, width_, height_, buffer_.Get(), 0, 0, SRCCOPY);
    }

  private:
    static HWND ShowTopmost(HWND window, int width, int height) {
        SetWindowPos(window, HWND_TOPMOST, 0, 0, width, height, SWP_SHOWWINDOW);
        InvalidateRect(window, nullptr, FALSE);
        return window;
    }

    int width_, height_;
    HWND window_;
    PaintScope paint_;
    ChartBuffer buffer_;
};

void HideGraphWindow(HWND hwnd) {
    App& app = TheApp();
    app.ps.lastChart = 0;
    const SIZE size = GraphScreenSize(app);
    SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, size.cx, size.cy, SWP_HIDEWINDOW);
}

}  // namespace

const SkySources& GraphicsSources(App& app) {
    static PaletteBitmap moon, earth;
    static SkySources sources;
    static bool read = false;
    if (!read) {
        read = true;
        if (ReadPaletteBitmap(static_cast<const uint8_t*>(app.moonBitmap.data), app.moonBitmap.size,
                              &moon)) {
            sources.moon = &moon;
        }
        if (ReadPaletteBitmap(static_cast<const uint8_t*>(app.earthBitmap.data),
                              app.earthBitmap.size, &earth)) {
            sources.earth = &earth;
        }
    }
    return sources;
}

SIZE GraphScreenSize(App& app) {
    if (screenChanged) return changedScreen;
    return SIZE{app.desktopRect.right, app.desktopRect.bottom};
}

LRESULT CALLBACK GraphWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DISPLAYCHANGE:
            screenChanged = true;
            changedScreen = SIZE{LOWORD(lParam), HIWORD(lParam)};
            break;
        case WM_KEYDOWN:
        case WM_LBUTTONDOWN:
            HideGraphWindow(hwnd);
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void CommandTargetWin32::ShowChart(int command) {
    App& app = app_;
    if (app.graphWindow == nullptr) return;
    const SIZE size = GraphScreenSize(app);
    if (size.cx <= 0 || size.cy <= 0) return;
    Chart chart;
    const bool composed = ComposeChartCommand(command, size.cx, size.cy, app.ps, ReadSystemZone(),
                                              GraphicsSources(app), &chart);
    // A map without its land mask shows nothing; any other chart that could
    // not be composed shows the black screen.
    if (!composed && ChartNeedsLandMask(command)) return;
    {
        const ChartSession session(app.graphWindow, size.cx, size.cy);
        if (!session.Usable()) return;
        ReplayChart(session.Buffer(), chart);
        session.CopyToWindow();
    }
    // The key that hides the window must reach it.
    if (GetForegroundWindow() != app.graphWindow) SetForegroundWindow(app.graphWindow);
}

}  // namespace miravel
