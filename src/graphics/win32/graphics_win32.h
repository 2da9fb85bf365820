// The graphics' part of the Windows program: the GDI replay of the charts.
// The graph window and the wallpaper's desktop calls belong to the shell
// (src/app/win32/graph_window_win32.h).
#pragma once

#include <windows.h>

#include "graphics/chart.h"

namespace miravel {

// Draws the chart's items in order onto `dc`, which holds a black surface of
// the chart's size. Text is drawn with the system's font at a size that
// grows with the screen, as the built-in font of the rasteriser does.
void ReplayChart(HDC dc, const Chart& chart);

}  // namespace miravel
