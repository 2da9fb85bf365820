// The Earth's main magnetic field from the IGRF-12 model (epochs 1900..2020,
// degree 13 from 2000 on), evaluated with the World Magnetic Model's synthesis
// routine on the WGS 84 ellipsoid: north and east components, horizontal
// intensity and declination.
//
// GeomagField does everything for one point. A caller evaluating many points
// (the declination world map) can hoist the work that does not change: the
// coefficients of one date (GeomagCoefficients) and the terms of one latitude
// and altitude (GeomagLatitude); EvaluateGeomag then gives, bit for bit, what
// GeomagField gives. Nothing here allocates.
#pragma once

#include <cstdint>

#include "core/astro_state.h"

namespace miravel {

inline constexpr int kGeomagSize = 14;  // degree and order 0..13

// The raw coefficient table: epoch 0..24 (1900, 1905, ..., 2020), element
// (i, j) in 0.1 nT as stored, offsets included; 0 outside the epoch's matrix.
int16_t IgrfTableValue(int epoch, int i, int j);

// Schmidt-normalised Gauss coefficients of one date, moved to it along the
// secular variation: g(n, m) at [m][n], h(n, m) at [n][m - 1], nT.
struct GeomagCoefficients {
    double tc[kGeomagSize][kGeomagSize];
};

// Everything that depends on the latitude and altitude alone: the geocentric
// colatitude, the rotation back to geodetic components, the powers of
// (reference radius / r) and the associated Legendre functions.
struct GeomagLatitude {
    double st, ct;                         // sine and cosine of the geocentric colatitude
    double ca, sa;                         // rotation from spherical to geodetic components
    double ar[kGeomagSize];                // (6371.2 / r)^(n + 2), index n
    double par[kGeomagSize][kGeomagSize];  // ar(n) * P(n, m), at [m][n]
    double dp[kGeomagSize][kGeomagSize];   // dP(n, m) / d(colatitude), at [m][n]
    double pp[kGeomagSize];                // P(n, 1) / sin(colatitude) at a pole
};

struct GeomagVector {
    float x;  // nT, north
    float y;  // nT, east
    float h;  // nT, horizontal intensity
    float d;  // degrees, declination, east positive
};

// The base epoch (0..23, 1900..2015) used for a day number since 2000-01-01,
// and the years from it to that day.
int GeomagEpoch(int32_t dayNumber, double* yearsAfter);

// Days since 2000-01-01; past 2020 the 2015-2020 slope is extrapolated.
void PrepareGeomagCoefficients(int32_t dayNumber, GeomagCoefficients* out);
// Geodetic latitude in degrees, altitude in km above the ellipsoid.
void PrepareGeomagLatitude(float latDeg, float altKm, GeomagLatitude* out);
// Longitude in degrees, east positive.
GeomagVector EvaluateGeomag(const GeomagCoefficients& coefficients, const GeomagLatitude& latitude,
                            float lonDeg);

// The field at one point; fills magX, magY, magH and magD.
void GeomagField(AstroState& s, int32_t dayNumber, float latDeg, float lonDeg, float altKm);

// The field at the working location and date, computed when geomagValid is
// clear (the height alone does not trigger it); both set magValid: the model
// is trusted before 2020 and where the horizontal field exceeds 5000 nT.
int16_t MagDeclination(AstroState& s, int16_t height);          // tenths of a degree
int16_t MagHorizontalIntensity(AstroState& s, int16_t height);  // 0.1 µT (100 nT)

}  // namespace miravel
