// The sky pictures of the wallpaper and of the image charts: the moon in its
// phase, the day-and-night map of the earth and the globe with the day-night
// boundary through its middle.
//
// The composers are pure: they read a source picture and a few numbers from
// the astronomy core and return the picture. Writing "wall.bmp" (EncodeWallBmp
// / WriteWallBmp), installing it as wallpaper and the desktop colour are the
// caller's business.
#pragma once

#include <cstdint>

#include "core/astro_state.h"
#include "graphics/bmp.h"
#include "graphics/image.h"

namespace miravel {

// Picture kinds, as the wallpaper setting numbers them.
enum SkyPictureKind : int {
    kSkyMoon = 1,
    kSkyEarthMap = 2,
    kSkyGlobe = 3,
};

// What the earth pictures need of the sun at the working clock minute.
struct SunOverEarth {
    double declination = 0.0;  // radians
    int32_t b = 0;             // the sun's hour angle at longitude 0, minutes of time
    bool afternoon = false;    // the sun has passed the settlement's meridian
};
// Runs SunNow at clockMinutes (so it changes the core's sun working values).
SunOverEarth EvaluateSunOverEarth(AstroState& s);

// The moon at `phaseAngle` (MoonPhaseAngle, tenths of a degree, 0 new moon,
// 1800 full): the unlit part at up to one eighth brightness, lit on the right
// while waxing as seen from the north; `southern` turns the picture by 180°
// and mirrors the lit side. Same size as the source; empty for an empty one.
RgbImage ComposeMoonPicture(const PaletteBitmap& moon, int phaseAngle, bool southern);

// Equirectangular day-and-night map over the 1-bit land mask (bit 1 land),
// as large as the mask. Empty unless the mask has 1 bit per pixel.
RgbImage ComposeEarthMapPicture(const PaletteBitmap& mask, const SunOverEarth& sun);

// The globe seen side-on, the day-night boundary through its middle: height
// of the mask, width widened by the earth's flattening (height + height/298).
// Empty unless the mask has 1 bit per pixel.
RgbImage ComposeGlobePicture(const PaletteBitmap& mask, const SunOverEarth& sun);

struct SkySources {
    const PaletteBitmap* moon = nullptr;   // "_MOON_"
    const PaletteBitmap* earth = nullptr;  // "_EARTH_"
};

struct SkyPicture {
    RgbImage image;
    int32_t xPelsPerMeter = 0, yPelsPerMeter = 0;  // copied from the source
};

// The picture of `kind` for the core's working date, clock and location
// (the moon from MoonPhaseAngle, the earth pictures from the sun at the clock
// minute); `latitude` in hundredths of a degree chooses the southern view of
// the moon. False, with nothing composed, for an unknown kind or a missing or
// unsuitable source picture.
bool ComposeSkyImage(int kind, AstroState& astro, int32_t latitude, const SkySources& sources,
                     SkyPicture* out);

// UT minutes since 2000-01-01 of the core's working date and clock.
int32_t AbsoluteMinute(const AstroState& s);

// The wallpaper's refresh rule: the moon is composed again every hour, the
// earth pictures every five minutes. Due when `now` has reached
// `nextRefresh`, or lies more than one interval before it (the clock was set
// back); a `nextRefresh` of 0 is always due.
int32_t WallpaperRefreshInterval(int kind);
bool WallpaperRefreshDue(int kind, int32_t now, int32_t nextRefresh);
// The value of nextWallpaperRefresh to keep after composing at `now`.
int32_t NextWallpaperRefresh(int kind, int32_t now);

}  // namespace miravel
