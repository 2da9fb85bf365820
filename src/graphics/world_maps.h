// The three world maps drawn over the land mask: the prayer-time map (the
// sun's altitude now, with the noon, İSTİVA, İKİNDİ and ASR-I SANİ lines), the
// qibla map (sectors of equal qibla direction) and the magnetic declination
// map (bands of 5°).
//
// Each map is composed at the mask's own size (800 x 400 for "_EARTH_"),
// north up, with the settlement marked; the graph window stretches it over
// the screen (StretchImage here, a source-copy stretch on Windows).
#pragma once

#include <cstdint>

#include "core/astro_state.h"
#include "core/geomag.h"
#include "graphics/bmp.h"
#include "graphics/image.h"

namespace miravel {

// Pixel rules. Each takes the column x, the stored row r counted from the
// bottom (the south) and the land bit (1 land, 0 sea) of a w x h mask.

// The prayer-time map keeps state from pixel to pixel: call Color for every
// pixel of every row, rows from the south, columns from the west.
class VakitMapRule {
  public:
    // `declination` the sun's (radians), `b` its hour angle at longitude 0 in
    // minutes of time (SunOverEarth), the twilight angles in degrees.
    VakitMapRule(int w, int h, double declination, int32_t b, float imsakAngle, float yatsiAngle);
    Rgb Color(int x, int r, int land);

    int NoonColumn() const { return (q_ + 1) % w_; }  // where the sun culminates now

  private:
    int w_, h_;
    double sinDec_, cosDec_, declination_;
    int32_t b_;
    double sin5_, sinMinus1_, sinTwilight_;
    int q_;                  // the column west of the noon meridian
    int m_ = 0;              // İSTİVA column of the current row
    int s_ = 0;              // twilight pixels counted in the current row
    double previous_ = 0.0;  // the previous pixel's sine of the altitude
    double a_ = 0.0, bcos_ = 0.0, k1_ = 0.0, k2_ = 0.0;
};

Rgb QiblaMapColor(int x, int r, int land, int w, int h);

// Band colour of a declination in degrees; east and west share it.
Rgb DeclinationBandColor(float declinationDeg, int land);
// The per-point rule: evaluates the whole geomagnetic model (GeomagField) for
// the pixel, overwriting the core's field values.
Rgb DeclinationMapColor(int x, int r, int land, int w, int h, AstroState& s, int32_t dayNumber,
                        float altKm);

// The settlement's red dot (latitude, longitude in hundredths of a degree).
void MarkSettlement(RgbImage& map, int32_t latitude, int32_t longitude);

// The maps, composed at the mask's size. Empty unless the mask is an
// uncompressed 1-bit bitmap. `latitude` and `longitude` place the marker.
//
// Prayer-time map at the core's working date and clock; changes the core's
// sun working values.
RgbImage ComposeVakitMap(const PaletteBitmap& mask, AstroState& s, int32_t latitude,
                         int32_t longitude);
RgbImage ComposeQiblaMap(const PaletteBitmap& mask, int32_t latitude, int32_t longitude);
// Declination map for the core's working date at the observer's height
// `viewAltitude` (metres, the height the compass value uses). The model's
// date coefficients are prepared once, the latitude terms once per row and
// the longitude terms once per column; the result equals
// ComposeDeclinationMapPerPoint pixel for pixel. Marks the core's field stale.
RgbImage ComposeDeclinationMap(const PaletteBitmap& mask, AstroState& s, int32_t latitude,
                               int32_t longitude, int16_t viewAltitude);
// The same map by DeclinationMapColor for every pixel: the reference the
// fast one is checked and measured against.
RgbImage ComposeDeclinationMapPerPoint(const PaletteBitmap& mask, AstroState& s, int32_t latitude,
                                       int32_t longitude, int16_t viewAltitude);

}  // namespace miravel
