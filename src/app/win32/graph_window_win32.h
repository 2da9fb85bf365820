// The shell's side of the graphics: the graph window and the desktop
// wallpaper, drawn by src/graphics from the App's pictures and settings.
#pragma once

#include <windows.h>

#include "graphics/sky_image.h"

namespace miravel {

class App;

// The two source pictures, read once from the program's bitmap resources.
const SkySources& GraphicsSources(App& app);

// The screen the graph window covers: the desktop's size from start-up,
// replaced by each display change.
SIZE GraphScreenSize(App& app);

// At exit: the user's desktop comes back when a wallpaper is on.
void RestoreDesktopAtExit(App& app);

}  // namespace miravel
