// The graphics' part of the Windows program: the graph window, the GDI
// replay of the charts and the desktop wallpaper.
#pragma once

#include <windows.h>

#include "graphics/chart.h"
#include "graphics/sky_image.h"

namespace miravel {

class App;

// The two source pictures, read once from the program's bitmap resources.
const SkySources& GraphicsSources(App& app);

// The screen the graph window covers: the desktop's size from start-up,
// replaced by each display change.
SIZE GraphScreenSize(App& app);

// Draws the chart's items in order onto `dc`, which holds a black surface of
// the chart's size. Text is drawn with the system's font at a size that
// grows with the screen, as the built-in font of the rasteriser does.
void ReplayChart(HDC dc, const Chart& chart);

// At exit: the user's desktop comes back when a wallpaper is on.
void RestoreDesktopAtExit(App& app);

}  // namespace miravel
