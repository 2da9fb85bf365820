// The live desktop wallpaper: switching it on, off and between pictures from
// the menu, composing it again when its time has come, and giving the user's
// desktop back at exit.
//
// The decisions are made here; what touches the system (the menu's check
// marks, the desktop colour, the registry, the wallpaper itself) goes through
// WallpaperDesktop, which the Windows program implements with real calls and
// the tests by recording.
#pragma once

#include <filesystem>

#include "config/program_state.h"
#include "graphics/sky_image.h"

namespace miravel {

inline constexpr int kWallpaperMenuFirst = 1046;  // "Ay"; 1047 "Yeryüzü", 1048 "Yerküre"

class WallpaperDesktop {
  public:
    virtual ~WallpaperDesktop() = default;
    virtual void SetMenuChecked(int command, bool checked) = 0;
    // Remembers the desktop as the user had it: the background colour and
    // the tiling and style values of the wallpaper.
    virtual void SaveDesktopState() = 0;
    // Puts the remembered colour back and has the system show the user's own
    // wallpaper again.
    virtual void RestoreDesktop() = 0;
    // The wallpaper is never changed while the graph window covers the screen.
    virtual bool GraphWindowVisible() = 0;
    // The picture is shown centred on black.
    virtual void SetBackgroundBlack() = 0;
    // Writes the picture as "wall.bmp", hands it to the system centred and
    // untiled, then removes the file and puts the user's tiling and style
    // values back. False when the file could not be written.
    virtual bool InstallWallpaper(const SkyPicture& picture) = 0;
};

// Menu commands 1046..1048, kind 1 moon, 2 earth map, 3 globe: the checked
// kind again switches the wallpaper off; another kind switches to it. The
// desktop is saved only when coming from "off", so the state from before the
// first switch-on is what comes back. "Duvar" keeps the choice.
void SetWallpaperMode(ProgramState& ps, const std::filesystem::path& iniPath, int kind,
                      const SkySources& sources, WallpaperDesktop& desktop);

// Composes the picture of ps.options.wallpaper for the core's working date
// and clock and installs it. Skipped (false, nextWallpaperRefresh untouched)
// while the graph window is shown; otherwise nextWallpaperRefresh moves on
// one interval first, so a failure waits for the next refresh time.
bool RefreshWallpaper(ProgramState& ps, const SkySources& sources, WallpaperDesktop& desktop);

// Program exit: the user's desktop comes back when a wallpaper is on; the
// setting itself stays for the next start.
void RestoreWallpaperAtExit(const ProgramState& ps, WallpaperDesktop& desktop);

}  // namespace miravel
