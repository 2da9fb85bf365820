#include "graphics/world_maps.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/calendar.h"
#include "graphics/palette.h"
#include "graphics/sky_image.h"
#include "graphics/test_pictures.h"

namespace miravel {
namespace {

constexpr double kPi = 3.141592653589793;

// A mask of any size, land in a diagonal pattern, so both colours of every
// band occur.
PaletteBitmap PatternMask(int w, int h) {
    PaletteBitmap b = BlankMask(w, h);
    for (int r = 0; r < h; ++r) {
        for (int x = 0; x < w; ++x) {
            if ((x + 2 * r) % 7 < 3) b.bits[r * b.stride + x / 8] |= 0x80 >> (x % 8);
        }
    }
    return b;
}

AstroState At(int day, int month, int year, int hour, int minute) {
    AstroState s;
    SetLocation(s, 4101, 2897, 180);
    SetDate(s, static_cast<int16_t>(day), static_cast<int16_t>(month), static_cast<int16_t>(year));
    SetClock(s, static_cast<int16_t>(hour), static_cast<int16_t>(minute));
    return s;
}

TEST(DeclinationMap, PreparedTermsGiveThePointByPointPixels) {
    ASSERT_FALSE(ShippedEarth().Empty());
    // The shipped mask at sea level, then odd sizes (a last group of columns
    // narrower than the others, the poles on the first row) at heights and
    // dates in both coefficient blocks and past the table's end.
    struct Case {
        const PaletteBitmap* mask;
        int day, month, year;
        int16_t height;
    };
    const PaletteBitmap odd = PatternMask(203, 91), small = PatternMask(61, 30);
    const Case cases[] = {
        {&ShippedEarth(), 7, 12, 2026, 0}, {&odd, 1, 7, 1987, 850}, {&odd, 15, 3, 2012, -40},
        {&small, 29, 2, 2020, 3000},       {&small, 1, 1, 1903, 0},
    };
    for (const Case& c : cases) {
        AstroState fast = At(c.day, c.month, c.year, 10, 0);
        AstroState slow = fast;
        fast.geomagValid = slow.geomagValid = 1;
        const RgbImage prepared = ComposeDeclinationMap(*c.mask, fast, 4101, 2897, c.height);
        const RgbImage reference =
            ComposeDeclinationMapPerPoint(*c.mask, slow, 4101, 2897, c.height);
        ASSERT_EQ(prepared.Width(), c.mask->width);
        int differing = 0;
        for (int y = 0; y < prepared.Height(); ++y) {
            for (int x = 0; x < prepared.Width(); ++x)
                differing += !(prepared.At(x, y) == reference.At(x, y));
        }
        EXPECT_EQ(differing, 0) << c.year << " at " << c.height << " m, " << c.mask->width;
        // The settlement's own field is computed afresh afterwards.
        EXPECT_EQ(fast.geomagValid, 0);
        EXPECT_EQ(slow.geomagValid, 0);
    }
}

TEST(DeclinationMap, EastAndWestShareABandOfFiveDegrees) {
    EXPECT_EQ(DeclinationBandColor(12.7f, 0), DeclinationBandColor(-12.7f, 0));
    EXPECT_EQ(DeclinationBandColor(12.7f, 0), (Rgb{255, 128, 0}));
    EXPECT_EQ(DeclinationBandColor(-12.7f, 1), (Rgb{128, 64, 0}));
    EXPECT_EQ(DeclinationBandColor(-4.99f, 0), (Rgb{255, 255, 255}));
    EXPECT_EQ(DeclinationBandColor(5.0f, 1), (Rgb{128, 0, 0}));
    EXPECT_EQ(DeclinationBandColor(-64.9f, 0), (Rgb{255, 0, 128}));
    EXPECT_EQ(DeclinationBandColor(65.0f, 0), (Rgb{64, 64, 64}));
    EXPECT_EQ(DeclinationBandColor(-179.0f, 1), (Rgb{0, 0, 0}));
    EXPECT_EQ(DeclinationBandColor(std::nanf(""), 0), (Rgb{64, 64, 64}));
}

TEST(VakitMap, TheNoonMeridianIsDrawnAtEveryClockTime) {
    const PaletteBitmap mask = PatternMask(96, 48);
    for (int minute = 0; minute < 1440; minute += 17) {
        // Far east, where b falls below -720 in the first hours of the night.
        AstroState s;
        SetLocation(s, 4101, 17500, 720);
        SetDate(s, 21, 3, 2026);
        SetClock(s, static_cast<int16_t>(minute / 60), static_cast<int16_t>(minute % 60));
        const RgbImage map = ComposeVakitMap(mask, s, -9000, -18000);
        const SunOverEarth sun = EvaluateSunOverEarth(s);
        VakitMapRule rule(96, 48, sun.declination, sun.b, s.imsakAngle, s.yatsiAngle);
        const int noon = rule.NoonColumn();
        for (int y = 0; y < 47; ++y)  // the bottom row holds the marker
            ASSERT_EQ(map.At(noon, y), ChartColor(10)) << "minute " << minute << " row " << y;
        // The sun culminates at the column whose longitude the hour angle
        // says: b minutes west of Greenwich.
        double lon = -sun.b * 0.25;
        lon -= 360.0 * std::floor((lon + 180.0) / 360.0);
        const double column = (lon / 360.0 + 0.5) * 96;
        EXPECT_LE(std::fabs(std::remainder(noon - column, 96.0)), 2.0) << "minute " << minute;
    }
}

TEST(VakitMap, NoIstivaMarkAfterARowWithoutTwilight) {
    ASSERT_FALSE(ShippedEarth().Empty());
    // Midsummer: polar day in the north, polar night in the south.
    AstroState s = At(21, 6, 2026, 13, 0);
    const RgbImage map = ComposeVakitMap(ShippedEarth(), s, 4101, 2897);
    const int w = map.Width(), h = map.Height();
    int rowsWithoutTwilight = 0, marks = 0;
    bool sawAsrLines = false;
    for (int y = h - 2; y >= 0; --y) {  // stored rows from the south
        int twilight = 0;
        for (int x = 0; x < w; ++x) {
            const Rgb c = map.At(x, y + 1);  // the row before, to the south
            twilight += c == ChartColor(2) || c == ChartColor(6);
        }
        int purple = 0;
        for (int x = 0; x < w; ++x) {
            purple += map.At(x, y) == ChartColor(9);
            sawAsrLines = sawAsrLines || map.At(x, y) == ChartColor(11);
        }
        marks += purple;
        if (twilight < 4) {
            ++rowsWithoutTwilight;
            EXPECT_EQ(purple, 0) << "row " << y;
        } else {
            EXPECT_LE(purple, 1) << "row " << y;
        }
    }
    EXPECT_GT(rowsWithoutTwilight, 20);
    EXPECT_GT(marks, 100);
    EXPECT_TRUE(sawAsrLines);
    // Near the north pole the sun stays up all day: one band, no asr lines.
    const SunOverEarth sun = EvaluateSunOverEarth(s);
    const int noon = VakitMapRule(w, h, sun.declination, sun.b, -18, -17).NoonColumn();
    for (int x = 0; x < w; ++x) {
        const Rgb c = map.At(x, 2);
        EXPECT_TRUE(x == noon ? c == ChartColor(10) : c == ChartColor(4) || c == ChartColor(8))
            << x;
    }
}

TEST(WorldMaps, TheMarkerReachesTheTopRowAndTheLastColumn) {
    RgbImage map(800, 400);
    MarkSettlement(map, 9000, 18000);
    EXPECT_EQ(map.At(799, 0), (Rgb{255, 0, 0}));
    MarkSettlement(map, -9000, -18000);
    EXPECT_EQ(map.At(0, 399), (Rgb{255, 0, 0}));
    MarkSettlement(map, 4101, 2897);  // Istanbul
    EXPECT_EQ(map.At((2897 + 18000) * 799 / 36000, (9000 - 4101) * 399 / 18000), (Rgb{255, 0, 0}));
}

TEST(QiblaMap, SectorsOfFifteenDegreesOfTheGreatCircleBearing) {
    const int w = 360, h = 180;
    const double kaabaLat = 0.3738937, kaabaLon = 0.6950977;
    int checked = 0;
    for (int r = 1; r < h; r += 7) {
        for (int x = 0; x < w; x += 5) {
            const double phi = (static_cast<double>(r) / h - 0.5) * kPi;
            const double lambda = (static_cast<double>(x) / w - 0.5) * 2 * kPi;
            // Initial course from the place to the Kaaba, clockwise from north.
            const double dl = kaabaLon - lambda;
            const double bearing =
                std::atan2(std::sin(dl) * std::cos(kaabaLat),
                           std::cos(phi) * std::sin(kaabaLat) -
                               std::sin(phi) * std::cos(kaabaLat) * std::cos(dl)) *
                180.0 / kPi;
            const double v = 180.0 + bearing;
            if (std::fabs(v / 15.0 - std::round(v / 15.0)) < 0.01) continue;  // on a boundary
            const bool odd = static_cast<int>(std::floor(v / 15.0)) % 2 != 0;
            EXPECT_EQ(QiblaMapColor(x, r, 1, w, h),
                      odd ? (Rgb{255, 255, 255}) : (Rgb{192, 192, 192}))
                << x << "," << r << " bearing " << bearing;
            EXPECT_EQ(QiblaMapColor(x, r, 0, w, h), odd ? (Rgb{0, 0, 0}) : (Rgb{64, 64, 64}));
            ++checked;
        }
    }
    EXPECT_GT(checked, 1500);
}

}  // namespace
}  // namespace miravel
