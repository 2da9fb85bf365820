#include "graphics/charts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "core/angles.h"
#include "core/calendar.h"
#include "core/geomag.h"
#include "core/moon.h"
#include "core/qibla.h"
#include "core/sun.h"
#include "graphics/palette.h"
#include "graphics/world_maps.h"

namespace miravel {

namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kGrey{128, 128, 128};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kCyan{0, 255, 255};
constexpr Rgb kMagenta{255, 0, 255};

// Every coordinate is a fraction of the screen, truncated to whole pixels.
int Px(double v) {
    return static_cast<int>(std::trunc(v));
}

double Radians(int tenths) {
    return tenths * kPi / 1800.0;
}

// A ray of the azimuth dial, clockwise from straight up, with its legend
// sample and label on the left.
void DirectionRay(Chart& c, int angle, Rgb color, bool solid, double legendRow, const char* label,
                  int penWidth) {
    const double w = c.width, h = c.height;
    const double a = Radians(angle);
    const int width = solid ? penWidth : 0;
    const PenStyle style = solid ? PenStyle::kSolid : PenStyle::kDashDot;
    c.Line(Px(0.75 * w), Px(0.55 * h), Px((0.75 + 0.2 * std::sin(a)) * w),
           Px(0.55 * h - 0.2 * w * std::cos(a)), color, width, style);
    c.Line(Px(0.05 * w), Px(legendRow * h), Px(0.1 * w), Px(legendRow * h), color, width, style);
    c.Text(Px(0.12 * w), Px(legendRow * h - 7), label, kWhite);
}

// A ray of the altitude dial, counter-clockwise from the horizon.
void AltitudeRay(Chart& c, int altitude, Rgb color, int penWidth) {
    const double w = c.width, h = c.height;
    const double a = Radians(altitude);
    c.Line(Px(0.25 * w), Px(0.55 * h), Px((0.25 + 0.2 * std::cos(a)) * w),
           Px(0.55 * h - 0.2 * w * std::sin(a)), color, penWidth);
}

// The oblique view of the sky of the Paths chart, tilted by 0.17 rad.
struct SkyView {
    double w, h;
    double cosTilt = std::cos(0.17), sinTilt = std::sin(0.17);

    // Azimuth and altitude in tenths of a degree.
    void Point(double azimuth, double altitude, int* x, int* y) const {
        const double a = azimuth * kPi / 1800.0, e = altitude * kPi / 1800.0;
        const double cosE = std::cos(e);
        *x = Px((cosE * (cosTilt * std::cos(a) - sinTilt * std::sin(a)) + 1.4) * w / 3);
        *y = Px(((sinTilt * std::sin(a) * cosE - cosTilt * std::sin(e)) * 0.8 + 1) * h / 2);
    }
};

// Days of a common year through the end of months 1..11.
constexpr int kMonthEnds[11] = {31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

}  // namespace

AnglesValues ReadAnglesValues(AstroState& s, int16_t viewAltitude) {
    AnglesValues v;
    v.sunAzimuth = SunAzimuth(s);
    v.sunAltitude = SunAltitude(s);
    v.moonAzimuth = MoonAzimuth(s);
    v.moonAltitude = MoonAltitude(s);
    v.qibla = QiblaBearing(s);
    v.declination = MagDeclination(s, viewAltitude);
    v.declinationReliable = s.magValid != 0;
    return v;
}

Chart AnglesChart(int width, int height, const AnglesValues& v) {
    Chart c(width, height);
    const double w = width, h = height;
    const int pen = width / 500;
    c.Arc(Px(0.75 * w), Px(0.55 * h), Px(0.19 * w), 0.0, 360.0, kWhite, pen);
    // "UFUK" points straight up under "KUZEY"; only its legend sample shows.
    DirectionRay(c, 0, kRed, true, 0.42, "UFUK", pen);
    DirectionRay(c, 0, kGreen, true, 0.47, "KUZEY", pen);
    DirectionRay(c, v.declination, kMagenta, v.declinationReliable, 0.52, "PUSULA", pen);
    DirectionRay(c, v.sunAzimuth, kYellow, true, 0.57, "GÜNEŞ", pen);
    DirectionRay(c, v.moonAzimuth, kBlue, true, 0.62, "AY", pen);
    DirectionRay(c, v.qibla, kCyan, true, 0.67, "KIBLE", pen);
    // The right half circle, from the bottom through the right to the top.
    c.Arc(Px(0.25 * w), Px(0.55 * h), Px(0.19 * w), 270.0, 180.0, kWhite, pen);
    AltitudeRay(c, 0, kRed, pen);
    AltitudeRay(c, v.sunAltitude, kYellow, pen);
    AltitudeRay(c, v.moonAltitude, kBlue, pen);
    const int captionY = Px(0.55 * h - 0.2 * w - 50);
    c.Text(Px(0.25 * w), captionY, "DİKEY", kWhite);
    c.Text(Px(0.75 * w - 30), captionY, "YATAY", kWhite);
    return c;
}

Chart PathsChart(int width, int height, AstroState& s) {
    Chart c(width, height);
    const SkyView view{static_cast<double>(width), static_cast<double>(height)};
    const double w = width, h = height;
    c.Line(Px(1.4 * w / 3), Px(h / 2), Px((view.cosTilt + 1.4) * w / 3), Px(h / 2), kGreen,
           width / 500);
    c.Text(Px(2.5 * w / 3), Px(h / 2 - 7), "KUZEY", kWhite);

    const int16_t now = s.clockMinutes;
    int x = 0, y = 0;
    for (int t = 0; t < 1440; ++t) {
        s.clockMinutes = static_cast<int16_t>(t);
        // The horizon, traced once over the day.
        view.Point(t * 2.5, 0.0, &x, &y);
        c.Pixel(x, y, kGrey);

        s.moonValid = 0;
        const int moonAltitude = MoonAltitude(s);
        view.Point(MoonAzimuth(s), moonAltitude, &x, &y);
        if (t == now) c.Disc(x - 7, y - 7, x + 7, y + 7, kGrey);
        c.Pixel(x, y, moonAltitude > 0 ? kCyan : kBlue);

        const int sunAzimuth = SunAzimuth(s);
        const int sunAltitude = SunAltitude(s);
        view.Point(sunAzimuth, sunAltitude, &x, &y);
        if (t == now) c.Disc(x - 7, y - 7, x + 7, y + 7, kYellow);
        c.Pixel(x, y, sunAltitude > 0 ? kYellow : kMagenta);
    }
    s.clockMinutes = now;
    s.moonValid = 0;
    return c;
}

Chart YearlyGraph(int width, int height, ProgramState& ps, const SystemZone& system) {
    Chart c(width, height);
    const double w = width, h = height;
    const Rgb grid = ChartColor(1);
    char label[8];
    for (int i = 1; i <= 11; ++i) {
        const double r = kMonthEnds[i - 1] * 0.84 / 365 + 0.06;
        std::snprintf(label, sizeof label, "%02i", i);
        // Half a month above the month's closing line.
        c.Text(Px(0.06 * w), Px((r - 0.034520547945205475) * h - 7), label, grid);
        c.Line(Px(0.1 * w), Px(r * h), Px(0.94 * w), Px(r * h), grid, 1, PenStyle::kDot);
        const double col = i * 0.84 / 12 + 0.1;
        std::snprintf(label, sizeof label, "%02i", 2 * i);
        c.Text(Px(col * w - 9), Px(0.92 * h), label, grid);
        c.Line(Px(col * w), Px(0.06 * h), Px(col * w), Px(0.9 * h), grid, 1, PenStyle::kDot);
    }
    c.Text(Px(0.06 * w), Px(0.8654794520547945 * h - 7), "12", grid);

    const Location& loc = ps.location;
    AstroState& s = ps.astro;
    const int year = ps.workTime.year;
    // 31 December of a leap year is left out: the rows hold 365 days.
    for (int n = 1; n <= 365; ++n) {
        int month = 0, day = 0;
        MonthAndDay(year, n, &month, &day);
        SetDate(s, static_cast<int16_t>(day), static_cast<int16_t>(month),
                static_cast<int16_t>(year));
        SetLocation(s, static_cast<int16_t>(loc.latitude), static_cast<int16_t>(loc.longitude),
                    ZoneOffsetForDate(loc, system, day, month, year));
        const int y = Px(((n - 1) * 0.84 / 365 + 0.06) * h);
        for (int v = 1; v <= kVakitCount; ++v) {
            const int minute = ComputeVakit(s, v);
            c.Pixel(Px((minute * 0.84 / 1440 + 0.1) * w), y, ChartColor(kVakitPaletteIndex[v]));
        }
    }
    return c;
}

Chart ImageChart(int width, int height, int command, RgbImage picture) {
    Chart c(width, height);
    if (picture.Empty()) return c;
    const int side = std::min(width, height) * 2 / 3;
    const int w = command == kChartEarth ? width : side;
    const int h = command == kChartEarth ? height : side;
    const int x = (width - w) / 2, y = (height - h) / 2;
    c.Image(std::move(picture), x, y, x + w, y + h);
    return c;
}

Chart MapChart(int width, int height, RgbImage map) {
    Chart c(width, height);
    if (!map.Empty()) c.Image(std::move(map), 0, 0, width, height);
    return c;
}

bool BuildChart(int command, int width, int height, ProgramState& ps, const SystemZone& system,
                const SkySources& sources, Chart* out) {
    *out = Chart(width, height);
    AstroState& s = ps.astro;
    const Location& loc = ps.location;
    switch (command) {
        case kChartAngles:
            *out = AnglesChart(width, height, ReadAnglesValues(s, ps.options.viewAltitude));
            return true;
        case kChartPaths:
            *out = PathsChart(width, height, s);
            return true;
        case kChartYearly:
            *out = YearlyGraph(width, height, ps, system);
            return true;
        case kChartMoon:
        case kChartEarth:
        case kChartGlobe: {
            SkyPicture picture;
            if (!ComposeSkyImage(command - 1032, s, loc.latitude, sources, &picture)) return false;
            *out = ImageChart(width, height, command, std::move(picture.image));
            return true;
        }
        case kChartVakitMap:
        case kChartQiblaMap:
        case kChartDeclinationMap: {
            if (!sources.earth) return false;
            RgbImage map;
            if (command == kChartVakitMap) {
                map = ComposeVakitMap(*sources.earth, s, loc.latitude, loc.longitude);
            } else if (command == kChartQiblaMap) {
                map = ComposeQiblaMap(*sources.earth, loc.latitude, loc.longitude);
            } else {
                map = ComposeDeclinationMap(*sources.earth, s, loc.latitude, loc.longitude,
                                            ps.options.viewAltitude);
            }
            if (map.Empty()) return false;
            *out = MapChart(width, height, std::move(map));
            return true;
        }
        default:
            return false;
    }
}

}  // namespace miravel
