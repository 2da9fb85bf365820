#include "graphics/sky_image.h"

#include <cmath>

#include "core/angles.h"
#include "core/calendar.h"
#include "core/moon.h"
#include "core/sun.h"

namespace miravel {

namespace {

// Land in brown-orange, sea in blue, both divided by the darkness f.
Rgb EarthColor(bool land, double f) {
    if (f == 0.0) return Rgb{};
    if (land) {
        return Rgb{static_cast<uint8_t>(std::trunc(255.0 / f)),
                   static_cast<uint8_t>(std::trunc(160.0 / f)), 0};
    }
    return Rgb{0, 0, static_cast<uint8_t>(std::trunc(255.0 / f))};
}

int FloorMod(int64_t v, int n) {
    const int64_t r = v % n;
    return static_cast<int>(r < 0 ? r + n : r);
}

}  // namespace

SunOverEarth EvaluateSunOverEarth(AstroState& s) {
    SunNow(s, s.clockMinutes);
    SunOverEarth sun;
    sun.declination = s.declination;
    sun.b = static_cast<int32_t>(
        std::trunc(s.clockMinutes - LocalTransit(s) - static_cast<double>(s.lonMin)));
    sun.afternoon = s.offset > 0.0f;
    return sun;
}

RgbImage ComposeMoonPicture(const PaletteBitmap& moon, int phaseAngle, bool southern) {
    if (moon.Empty()) return RgbImage{};
    const int w = moon.width, h = moon.height;
    RgbImage out(w, h);
    double p = phaseAngle / 3600.0;
    const double cosine = std::cos(kPi * p);
    const double c = 0.125 * cosine * cosine;  // brightness of the unlit part
    const bool waning = p > 0.5;
    if (waning) p -= 0.5;
    const double epsilon = southern ? -1.0 : 1.0;
    const double cosPhase = std::cos(2.0 * kPi * p);
    std::vector<int> index(static_cast<size_t>(w));
    for (int r = 0; r < h; ++r) {
        // The southern view is the picture turned by 180°.
        const int source = southern ? h - 1 - r : r;
        for (int x = 0; x < w; ++x)
            index[x] = moon.Index(southern ? w - 1 - x : x, source);
        const double y = 2.0 * r / h - 1.0;
        const double terminator = (epsilon * std::cos(std::asin(y)) * cosPhase + 1.0) * w / 2 - 1;
        Rgb* row = out.Row(h - 1 - r);
        for (int x = 0; x < w; ++x) {
            int d = static_cast<int>(std::trunc(terminator - x));
            if (waning) d = -d;
            if (southern) d = -d;
            double f;
            if (d > 3) {
                f = c;
            } else if (d < -2) {
                f = 1.0;
            } else {
                f = (5.0 * c + 4.0 - d) / (d + 9.0);
            }
            const size_t i = static_cast<size_t>(index[x]);
            const Rgb src = i < moon.palette.size() ? moon.palette[i] : Rgb{};
            row[x] = Rgb{static_cast<uint8_t>(std::trunc(src.r * f)),
                         static_cast<uint8_t>(std::trunc(src.g * f)),
                         static_cast<uint8_t>(std::trunc(src.b * f))};
        }
    }
    return out;
}

RgbImage ComposeEarthMapPicture(const PaletteBitmap& mask, const SunOverEarth& sun) {
    if (mask.Empty() || mask.bitsPerPixel != 1) return RgbImage{};
    const int w = mask.width, h = mask.height;
    RgbImage out(w, h);
    const double sinDec = std::sin(sun.declination), cosDec = std::cos(sun.declination);
    for (int r = 0; r < h; ++r) {
        const double phi = (2.0 * r / h - 1.0) * kPi / 2;
        const double a0 = sinDec * std::sin(phi);
        const double b0 = cosDec * std::cos(phi);
        Rgb* row = out.Row(h - 1 - r);
        for (int x = 0; x < w; ++x) {
            const double u = static_cast<double>(x) / w - 0.5;
            const double a = std::cos((sun.b + 1440.0 * u) * 0.25 * kRadPerDeg) * b0 + a0;
            const double f = a > 0.0 ? 1.0 : (a < -0.3 ? 4.0 : 1.0 - 10.0 * a);
            row[x] = EarthColor(mask.Index(x, r) != 0, f);
        }
    }
    return out;
}

RgbImage ComposeGlobePicture(const PaletteBitmap& mask, const SunOverEarth& sun) {
    if (mask.Empty() || mask.bitsPerPixel != 1) return RgbImage{};
    const int mw = mask.width, h = mask.height;
    const int w = h + h / 298;
    RgbImage out(w, h);
    // The mask column of the globe's central meridian: 90° east of the sun's
    // meridian in the afternoon, 90° west in the morning.
    const double turns = (sun.afternoon ? 1.75 : 1.25) - sun.b / 1440.0;
    const int64_t k = static_cast<int64_t>(std::trunc(turns * mw));
    const double sinDec = std::sin(sun.declination);
    const double twilight = 0.5 * std::sin(0.3141592653589793) / std::cos(sun.declination);
    for (int r = 0; r < h; ++r) {
        const double y = 2.0 * r / h - 1.0;
        const double lat = std::asin(y);
        int maskRow = static_cast<int>(std::trunc((lat / kPi + 0.5) * h));
        if (maskRow > h - 1) maskRow = h - 1;
        const double half = std::cos(lat);
        const double l = 0.5 * sinDec * y;
        Rgb* row = out.Row(h - 1 - r);
        for (int x = 0; x < w; ++x) {
            double u = static_cast<double>(x) / w - 0.5;
            if (std::fabs(u / half) > 0.5) {
                row[x] = Rgb{};
                continue;
            }
            const double lon = std::asin(2.0 * u / half);
            const int64_t column = static_cast<int64_t>(std::trunc(lon * mw / (2.0 * kPi) + k));
            // Floor modulo: the central meridian may lie west of column 0.
            const bool land = mask.Index(FloorMod(column, mw), maskRow) != 0;
            if (!sun.afternoon) u = -u;
            double f;
            if (u < l) {
                f = 1.0;
            } else if (u > l + twilight) {
                f = 4.0;
            } else {
                f = 1.0 + 3.0 * (u - l) / twilight;
            }
            row[x] = EarthColor(land, f);
        }
    }
    return out;
}

bool ComposeSkyImage(int kind, AstroState& astro, int32_t latitude, const SkySources& sources,
                     SkyPicture* out) {
    *out = SkyPicture{};
    const PaletteBitmap* source = kind == kSkyMoon ? sources.moon : sources.earth;
    if ((kind != kSkyMoon && kind != kSkyEarthMap && kind != kSkyGlobe) || !source) return false;
    if (kind == kSkyMoon) {
        out->image = ComposeMoonPicture(*source, MoonPhaseAngle(astro), latitude < 0);
    } else {
        const SunOverEarth sun = EvaluateSunOverEarth(astro);
        out->image = kind == kSkyEarthMap ? ComposeEarthMapPicture(*source, sun)
                                          : ComposeGlobePicture(*source, sun);
    }
    if (out->image.Empty()) return false;
    out->xPelsPerMeter = source->xPelsPerMeter;
    out->yPelsPerMeter = source->yPelsPerMeter;
    return true;
}

int32_t AbsoluteMinute(const AstroState& s) {
    return DayNumber(s) * 1440 + s.clockMinutes - s.zoneMinutes;
}

int32_t WallpaperRefreshInterval(int kind) {
    return kind == kSkyMoon ? 60 : 5;
}

bool WallpaperRefreshDue(int kind, int32_t now, int32_t nextRefresh) {
    return nextRefresh == 0 || now >= nextRefresh ||
           now < nextRefresh - WallpaperRefreshInterval(kind);
}

int32_t NextWallpaperRefresh(int kind, int32_t now) {
    return now + WallpaperRefreshInterval(kind);
}

}  // namespace miravel
