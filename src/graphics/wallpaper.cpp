#include "graphics/wallpaper.h"

#include "config/settings.h"

namespace miravel {

void SetWallpaperMode(ProgramState& ps, const std::filesystem::path& iniPath, int kind,
                      const SkySources& sources, WallpaperDesktop& desktop) {
    if (kind < kSkyMoon || kind > kSkyGlobe) return;
    Options& o = ps.options;
    for (int i = 0; i < 3; ++i)
        desktop.SetMenuChecked(kWallpaperMenuFirst + i, false);
    if (kind == o.wallpaper) {
        o.wallpaper = 0;
        SaveWallpaper(ps, iniPath);
        desktop.RestoreDesktop();
        return;
    }
    if (o.wallpaper == 0) desktop.SaveDesktopState();
    o.wallpaper = kind;
    desktop.SetMenuChecked(kWallpaperMenuFirst + kind - 1, true);
    SaveWallpaper(ps, iniPath);
    RefreshWallpaper(ps, sources, desktop);
}

bool RefreshWallpaper(ProgramState& ps, const SkySources& sources, WallpaperDesktop& desktop) {
    const int kind = ps.options.wallpaper;
    if (kind < kSkyMoon || kind > kSkyGlobe) return false;
    if (desktop.GraphWindowVisible()) return false;
    desktop.SetBackgroundBlack();
    ps.nextWallpaperRefresh = NextWallpaperRefresh(kind, AbsoluteMinute(ps.astro));
    SkyPicture picture;
    if (!ComposeSkyImage(kind, ps.astro, ps.location.latitude, sources, &picture)) return false;
    return desktop.InstallWallpaper(picture);
}

void RestoreWallpaperAtExit(const ProgramState& ps, WallpaperDesktop& desktop) {
    if (ps.options.wallpaper != 0) desktop.RestoreDesktop();
}

}  // namespace miravel
