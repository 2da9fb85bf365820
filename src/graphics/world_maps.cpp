#include "graphics/world_maps.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "core/angles.h"
#include "core/calendar.h"
#include "graphics/palette.h"
#include "graphics/sky_image.h"

namespace miravel {

namespace {

constexpr float kKaabaLatitudeRad = 0.3738937f;
constexpr float kKaabaLongitudeRad = 0.6950977f;

bool IsLandMask(const PaletteBitmap& mask) {
    return !mask.Empty() && mask.bitsPerPixel == 1;
}

// Rows from the south, columns from the west; stored row r lands on image
// row h - 1 - r so that north is at the top. The settlement is marked last.
template <typename Rule>
RgbImage ColourMask(const PaletteBitmap& mask, int32_t latitude, int32_t longitude, Rule&& rule) {
    const int w = mask.width, h = mask.height;
    RgbImage map(w, h);
    for (int r = 0; r < h; ++r) {
        Rgb* row = map.Row(h - 1 - r);
        for (int x = 0; x < w; ++x)
            row[x] = rule(x, r, mask.Index(x, r));
    }
    MarkSettlement(map, latitude, longitude);
    return map;
}

constexpr Rgb kDeclinationBands[14][2] = {
    {{255, 255, 255}, {128, 128, 128}}, {{255, 0, 0}, {128, 0, 0}},
    {{255, 128, 0}, {128, 64, 0}},      {{255, 255, 0}, {128, 128, 0}},
    {{128, 255, 0}, {64, 128, 0}},      {{0, 255, 0}, {0, 128, 0}},
    {{0, 255, 128}, {0, 128, 64}},      {{0, 255, 255}, {0, 128, 128}},
    {{0, 128, 255}, {0, 64, 128}},      {{0, 0, 255}, {0, 0, 128}},
    {{128, 0, 255}, {64, 0, 128}},      {{255, 0, 255}, {128, 0, 128}},
    {{255, 0, 128}, {128, 0, 64}},      {{64, 64, 64}, {0, 0, 0}},
};

float PixelLatitude(int r, int h) {
    return static_cast<float>((static_cast<double>(r) / h - 0.5) * 180.0);
}
float PixelLongitude(int x, int w) {
    return static_cast<float>((static_cast<double>(x) / w - 0.5) * 360.0);
}

// The observer's height as the compass value takes it, metres to km.
float HeightKm(int16_t viewAltitude) {
    return static_cast<float>(viewAltitude * 0.001);
}

// The declination map's prepared terms. A term k stands for one (n, m) of
// the model's sum, n = 1..13, m = 0..n, in the order the sum takes them.
constexpr int kTerms = (kGeomagSize + 2) * (kGeomagSize - 1) / 2;  // 104

// Columns are summed four side by side, as two pairs of doubles: the lanes
// are independent, so the processor overlaps them, and each lane does
// exactly the scalar operations of EvaluateGeomag in the same order, so it
// rounds alike (no fused or reordered arithmetic is involved).
constexpr int kLanes = 4;
using Pair = double __attribute__((vector_size(16)));

// What a group of four neighbouring columns contributes to each term, from
// the date's coefficients and the sines and cosines of m times the
// longitude: t1, fn * t1 and fm * t2 of EvaluateGeomag. They do not depend
// on the row. A group past the map's right edge repeats its last column.
struct ColumnGroup {
    Pair t1[kTerms][2];
    Pair fnT1[kTerms][2];
    Pair fmT2[kTerms][2];
};

void PrepareColumn(const GeomagCoefficients& coefficients, float lonDeg, ColumnGroup* group,
                   int lane) {
    const double(&tc)[kGeomagSize][kGeomagSize] = coefficients.tc;
    const double rlon = lonDeg * kRadPerDeg;
    double sp[kGeomagSize], cp[kGeomagSize];
    sp[0] = 0.0;
    cp[0] = 1.0;
    sp[1] = std::sin(rlon);
    cp[1] = std::cos(rlon);
    for (int m = 2; m < kGeomagSize; ++m) {
        sp[m] = sp[1] * cp[m - 1] + cp[1] * sp[m - 1];
        cp[m] = cp[1] * cp[m - 1] - sp[1] * sp[m - 1];
    }
    const int half = lane / 2, at = lane % 2;
    int k = 0;
    for (int n = 1; n < kGeomagSize; ++n) {
        const double fn = n + 1;
        for (int m = 0; m <= n; ++m, ++k) {
            const double fm = m;
            double t1, t2;
            if (m == 0) {
                t1 = tc[m][n] * cp[m];
                t2 = tc[m][n] * sp[m];
            } else {
                t1 = tc[m][n] * cp[m] + tc[n][m - 1] * sp[m];
                t2 = tc[m][n] * sp[m] - tc[n][m - 1] * cp[m];
            }
            group->t1[k][half][at] = t1;
            group->fnT1[k][half][at] = fn * t1;
            group->fmT2[k][half][at] = fm * t2;
        }
    }
}

// What one row contributes to each term: ar, dP and ar * P, and the few
// values that turn the sums into the declination.
struct RowTerms {
    double ar[kTerms];
    double dp[kTerms];
    double par[kTerms];
    double arPp[kTerms];  // ar * P(n, 1) / sin(colatitude), used at a pole
    double st, ca, sa;
};

void PrepareRow(float latDeg, float altKm, RowTerms* out) {
    GeomagLatitude g;
    PrepareGeomagLatitude(latDeg, altKm, &g);
    int k = 0;
    for (int n = 1; n < kGeomagSize; ++n) {
        for (int m = 0; m <= n; ++m, ++k) {
            out->ar[k] = g.ar[n];
            out->dp[k] = g.dp[m][n];
            out->par[k] = g.par[m][n];
            out->arPp[k] = m == 1 ? g.ar[n] * g.pp[n] : 0.0;
        }
    }
    out->st = g.st;
    out->ca = g.ca;
    out->sa = g.sa;
}

// The declinations of the four columns of a group on one row.
void SumLanes(const RowTerms& row, const ColumnGroup& columns, float out[kLanes]) {
    const bool atPole = row.st == 0.0;
    Pair bt[2] = {}, bp[2] = {}, br[2] = {}, bpp[2] = {};
    for (int k = 0; k < kTerms; ++k) {
        const Pair ar = {row.ar[k], row.ar[k]};
        const Pair dp = {row.dp[k], row.dp[k]};
        const Pair par = {row.par[k], row.par[k]};
        for (int h = 0; h < 2; ++h) {
            bt[h] = bt[h] - ar * columns.t1[k][h] * dp;
            bp[h] += columns.fmT2[k][h] * par;
            br[h] += columns.fnT1[k][h] * par;
        }
        if (atPole && row.arPp[k] != 0.0) {
            const Pair pp = {row.arPp[k], row.arPp[k]};
            for (int h = 0; h < 2; ++h)
                bpp[h] += columns.fmT2[k][h] * pp;
        }
    }
    for (int j = 0; j < kLanes; ++j) {
        const int h = j / 2, at = j % 2;
        const double east = atPole ? bpp[h][at] : bp[h][at] / row.st;
        const double x = static_cast<float>(-bt[h][at] * row.ca - br[h][at] * row.sa);
        const double y = static_cast<float>(east);
        out[j] = static_cast<float>(std::atan2(y, x) * kDegPerRad);
    }
}

}  // namespace

VakitMapRule::VakitMapRule(int w, int h, double declination, int32_t b, float imsakAngle,
                           float yatsiAngle)
    : w_(w > 0 ? w : 1),
      h_(h > 0 ? h : 1),
      sinDec_(std::sin(declination)),
      cosDec_(std::cos(declination)),
      declination_(declination),
      b_(b),
      sin5_(std::sin(5.0 * kRadPerDeg)),
      sinMinus1_(std::sin(-1.0 * kRadPerDeg)),
      sinTwilight_(std::sin((static_cast<double>(imsakAngle) + yatsiAngle) * 0.5 * kRadPerDeg)) {
    // Column q + 1 is the meridian where the sun culminates now. Brought into
    // the map however far b reaches (it spans more than one turn).
    q_ = static_cast<int>(std::trunc((0.5 - b_ / 1440.0) * w_ - 1.0));
    while (q_ < 0)
        q_ += w_;
    while (q_ >= w_)
        q_ -= w_;
}

Rgb VakitMapRule::Color(int x, int r, int land) {
    if (x == 0) {
        const double phi = (static_cast<double>(r) / h_ - 0.5) * kPi;
        const double t = std::fabs(std::tan(phi - declination_));
        // Sines of the two asr altitudes: the shadow equals the object (or
        // twice it) plus the noon shadow.
        k1_ = 1.0 / std::sqrt(1.0 + (1.0 + t) * (1.0 + t));
        k2_ = 1.0 / std::sqrt(1.0 + (2.0 + t) * (2.0 + t));
        a_ = std::sin(phi) * sinDec_;
        bcos_ = std::cos(phi) * cosDec_;
        // İSTİVA lies west of noon by a quarter of the twilight counted in
        // the row before (a row without twilight gives m = q: no mark).
        m_ = q_ - s_ / 4;
        if (m_ < 0) m_ += w_;
        s_ = 0;
        previous_ = 0.0;
    }
    const double hourAngle = ((x + 2.0) / w_ - 0.5) * 1440.0 + b_;
    const double a = bcos_ * std::cos(hourAngle * 0.25 * kRadPerDeg) + a_;
    if (m_ != q_ && x == m_ && a > sin5_) return ChartColor(9);
    // The modulo keeps the meridian on the map when q is the last column.
    if (x == (q_ + 1) % w_) return ChartColor(10);
    if (previous_ > k1_ && a < k1_) {
        previous_ = a;
        return ChartColor(11);
    }
    if (previous_ > k2_ && a < k2_) {
        previous_ = a;
        return ChartColor(12);
    }
    previous_ = a;
    const int j = land ? 4 : 0;
    if (a > sin5_) return ChartColor(j + 4);
    if (a > sinMinus1_) return ChartColor(j + 3);
    if (a > sinTwilight_) {
        ++s_;
        return ChartColor(j + 2);
    }
    return ChartColor(j + 1);
}

Rgb QiblaMapColor(int x, int r, int land, int w, int h) {
    const double phi = (static_cast<double>(r) / h - 0.5) * kPi;
    const double dl = (static_cast<double>(x) / w - 0.5) * 2.0 * kPi - kKaabaLongitudeRad;
    const double q =
        std::atan2(std::sin(dl), std::tan(static_cast<double>(kKaabaLatitudeRad)) * std::cos(phi) -
                                     std::sin(phi) * std::cos(dl));
    const int v = static_cast<int>(std::trunc(180.0 - q * kDegPerRad));
    if ((v / 15) % 2 != 0) return land ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
    return land ? Rgb{192, 192, 192} : Rgb{64, 64, 64};
}

Rgb DeclinationBandColor(float declinationDeg, int land) {
    // 65° and more, and NaN (no field at all), fall into the last band.
    const double whole = std::fabs(std::trunc(static_cast<double>(declinationDeg)));
    const int e = whole < 65.0 ? static_cast<int>(whole) / 5 : 13;
    return kDeclinationBands[e][land ? 1 : 0];
}

Rgb DeclinationMapColor(int x, int r, int land, int w, int h, AstroState& s, int32_t dayNumber,
                        float altKm) {
    GeomagField(s, dayNumber, PixelLatitude(r, h), PixelLongitude(x, w), altKm);
    return DeclinationBandColor(s.magD, land);
}

void MarkSettlement(RgbImage& map, int32_t latitude, int32_t longitude) {
    const int64_t w = map.Width(), h = map.Height();
    const int64_t x = (static_cast<int64_t>(longitude) + 18000) * (w - 1) / 36000;
    const int64_t y = (9000 - static_cast<int64_t>(latitude)) * (h - 1) / 18000;
    map.Set(static_cast<int>(x), static_cast<int>(y), Rgb{255, 0, 0});
}

RgbImage ComposeVakitMap(const PaletteBitmap& mask, AstroState& s, int32_t latitude,
                         int32_t longitude) {
    if (!IsLandMask(mask)) return RgbImage{};
    const SunOverEarth sun = EvaluateSunOverEarth(s);
    VakitMapRule rule(mask.width, mask.height, sun.declination, sun.b, s.imsakAngle, s.yatsiAngle);
    return ColourMask(mask, latitude, longitude,
                      [&](int x, int r, int j) { return rule.Color(x, r, j); });
}

RgbImage ComposeQiblaMap(const PaletteBitmap& mask, int32_t latitude, int32_t longitude) {
    if (!IsLandMask(mask)) return RgbImage{};
    const int w = mask.width, h = mask.height;
    return ColourMask(mask, latitude, longitude,
                      [&](int x, int r, int j) { return QiblaMapColor(x, r, j, w, h); });
}

RgbImage ComposeDeclinationMap(const PaletteBitmap& mask, AstroState& s, int32_t latitude,
                               int32_t longitude, int16_t viewAltitude) {
    if (!IsLandMask(mask)) return RgbImage{};
    const int w = mask.width, h = mask.height;
    const float altKm = HeightKm(viewAltitude);
    GeomagCoefficients coefficients;
    PrepareGeomagCoefficients(DayNumber(s), &coefficients);
    std::vector<RowTerms> rows(static_cast<size_t>(h));
    for (int r = 0; r < h; ++r)
        PrepareRow(PixelLatitude(r, h), altKm, &rows[r]);
    // Group by group down the map: a group's terms stay in the nearest cache
    // while every row passes them.
    auto group = std::make_unique<ColumnGroup>();
    RgbImage map(w, h);
    for (int x = 0; x < w; x += kLanes) {
        const int lanes = std::min(kLanes, w - x);
        for (int j = 0; j < kLanes; ++j)
            PrepareColumn(coefficients, PixelLongitude(x + std::min(j, lanes - 1), w), group.get(),
                          j);
        for (int r = 0; r < h; ++r) {
            float declination[kLanes];
            SumLanes(rows[r], *group, declination);
            Rgb* pixels = map.Row(h - 1 - r);
            for (int j = 0; j < lanes; ++j)
                pixels[x + j] = DeclinationBandColor(declination[j], mask.Index(x + j, r));
        }
    }
    s.geomagValid = 0;
    MarkSettlement(map, latitude, longitude);
    return map;
}

RgbImage ComposeDeclinationMapPerPoint(const PaletteBitmap& mask, AstroState& s, int32_t latitude,
                                       int32_t longitude, int16_t viewAltitude) {
    if (!IsLandMask(mask)) return RgbImage{};
    const int w = mask.width, h = mask.height;
    const int32_t day = DayNumber(s);
    const float altKm = HeightKm(viewAltitude);
    RgbImage map = ColourMask(mask, latitude, longitude, [&](int x, int r, int j) {
        return DeclinationMapColor(x, r, j, w, h, s, day, altKm);
    });
    // The field now belongs to the last pixel: make the next compass value
    // compute the settlement's again.
    s.geomagValid = 0;
    return map;
}

}  // namespace miravel
