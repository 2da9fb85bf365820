#include "core/geomag.h"

#include <cmath>

#include "core/angles.h"
#include "core/calendar.h"

namespace miravel {

namespace {

constexpr int16_t kIgrfTable[] = {
#include "core/igrf_table.inc"
};
constexpr int kBlock1Epochs = 20;  // 1900..1995, degree 10
constexpr int kBlock1Size = 11;
constexpr int kBlock2Epochs = 5;  // 2000..2020, degree 13
static_assert(sizeof kIgrfTable / sizeof kIgrfTable[0] ==
              kBlock1Epochs * kBlock1Size * kBlock1Size +
                  kBlock2Epochs * kGeomagSize * kGeomagSize);

constexpr int kMaxDegree = kGeomagSize - 1;
constexpr int kLastBaseEpoch = 23;  // 2015: the last epoch with a successor

// The WGS 84 ellipsoid in km, as single-precision constants.
constexpr double kA2 = 40680632.0f;
constexpr double kB2 = 4.04083e7f;
constexpr double kC2 = 272332.0f;
constexpr double kA4 = 1654913819919424.0f;
constexpr double kB4 = 1.63283070889e15f;
constexpr double kC4 = kA4 - kB4;
constexpr double kReferenceRadiusKm = 6371.2;

constexpr double kYearsPerDay = 0.0027378507871321013;  // 1 / 365.25

// k(m, n) of the Legendre recursion, at [m][n].
struct RecursionTable {
    double k[kGeomagSize][kGeomagSize] = {};
    constexpr RecursionTable() {
        for (int n = 1; n <= kMaxDegree; ++n) {
            for (int m = 0; m <= n; ++m)
                k[m][n] = static_cast<double>((n - 1) * (n - 1) - m * m) /
                          static_cast<double>((2 * n - 1) * (2 * n - 3));
        }
        k[1][1] = 0.0;
    }
};
constexpr RecursionTable kRecursion;

// Schmidt quasi-normalisation factors S(n, m), at [m][n].
struct SchmidtTable {
    double factor[kGeomagSize][kGeomagSize] = {};
    SchmidtTable() {
        factor[0][0] = 1.0;
        for (int n = 1; n <= kMaxDegree; ++n) {
            factor[0][n] = factor[0][n - 1] * (2 * n - 1) / n;
            int j = 2;
            for (int m = 1; m <= n; ++m) {
                const double ratio = static_cast<double>((n - m + 1) * j) / (n + m);
                factor[m][n] = factor[m - 1][n] * std::sqrt(ratio);
                j = 1;
            }
        }
    }
};

const SchmidtTable& Schmidt() {
    static const SchmidtTable table;
    return table;
}

}  // namespace

int16_t IgrfTableValue(int epoch, int i, int j) {
    if (epoch < 0 || epoch >= kBlock1Epochs + kBlock2Epochs || i < 0 || j < 0) return 0;
    if (epoch < kBlock1Epochs) {
        if (i >= kBlock1Size || j >= kBlock1Size) return 0;
        return kIgrfTable[(epoch * kBlock1Size + i) * kBlock1Size + j];
    }
    if (i >= kGeomagSize || j >= kGeomagSize) return 0;
    const int base = kBlock1Epochs * kBlock1Size * kBlock1Size;
    return kIgrfTable[base + ((epoch - kBlock1Epochs) * kGeomagSize + i) * kGeomagSize + j];
}

int GeomagEpoch(int32_t dayNumber, double* yearsAfter) {
    const double t = dayNumber * kYearsPerDay;  // years since 2000.0
    int epoch = static_cast<int>(std::trunc(0.2 * t + 20.0));
    if (epoch > kLastBaseEpoch) epoch = kLastBaseEpoch;
    // Before 1895 the index would leave the table; extrapolate from 1900.
    if (epoch < 0) epoch = 0;
    *yearsAfter = t - 5.0 * (epoch - 20);
    return epoch;
}

void PrepareGeomagCoefficients(int32_t dayNumber, GeomagCoefficients* out) {
    double dt = 0.0;
    const int epoch = GeomagEpoch(dayNumber, &dt);

    double c[kGeomagSize][kGeomagSize];
    double cd[kGeomagSize][kGeomagSize];  // secular variation, nT per year
    for (int i = 0; i < kGeomagSize; ++i) {
        for (int j = 0; j < kGeomagSize; ++j) {
            c[i][j] = 0.1 * IgrfTableValue(epoch, i, j);
            const double next = 0.1 * IgrfTableValue(epoch + 1, i, j);
            cd[i][j] = (next - c[i][j]) * 0.2;
        }
    }
    c[0][1] -= 30000.0;
    c[1][0] += 5000.0;

    // Schmidt quasi-normalisation folded into the coefficients.
    const double(&snorm)[kGeomagSize][kGeomagSize] = Schmidt().factor;
    for (int n = 1; n <= kMaxDegree; ++n) {
        for (int m = 0; m <= n; ++m) {
            if (m > 0) {
                c[n][m - 1] = snorm[m][n] * c[n][m - 1];
                cd[n][m - 1] = snorm[m][n] * cd[n][m - 1];
            }
            c[m][n] = snorm[m][n] * c[m][n];
            cd[m][n] = snorm[m][n] * cd[m][n];
        }
    }

    double(&tc)[kGeomagSize][kGeomagSize] = out->tc;
    tc[0][0] = 0.0;
    for (int n = 1; n <= kMaxDegree; ++n) {
        for (int m = 0; m <= n; ++m) {
            tc[m][n] = c[m][n] + dt * cd[m][n];
            if (m != 0) tc[n][m - 1] = c[n][m - 1] + dt * cd[n][m - 1];
        }
    }
}

void PrepareGeomagLatitude(float latDeg, float altKm, GeomagLatitude* out) {
    GeomagLatitude& g = *out;
    const double alt = altKm;
    const double rlat = latDeg * kRadPerDeg;
    const double srlat = std::sin(rlat);
    const double crlat = std::cos(rlat);
    const double srlat2 = srlat * srlat;
    const double crlat2 = crlat * crlat;

    // Geodetic to geocentric.
    const double q = std::sqrt(kA2 - kC2 * srlat2);
    const double q1 = alt * q;
    const double ratio = (q1 + kA2) / (q1 + kB2);
    const double q2 = ratio * ratio;
    g.ct = srlat / std::sqrt(q2 * crlat2 + srlat2);
    g.st = std::sqrt(1.0 - g.ct * g.ct);
    const double r = std::sqrt(alt * alt + 2.0 * q1 + (kA4 - kC4 * srlat2) / (q * q));
    const double d = std::sqrt(kA2 * crlat2 + kB2 * srlat2);
    g.ca = (alt + d) / r;
    g.sa = kC2 * crlat * srlat / (r * d);

    const double aor = kReferenceRadiusKm / r;
    double ar = aor * aor;
    g.ar[0] = ar;

    // Associated Legendre functions and their derivatives, at [m][n].
    double p[kGeomagSize][kGeomagSize] = {};
    double(&dp)[kGeomagSize][kGeomagSize] = g.dp;
    const double st = g.st;
    const double ct = g.ct;
    p[0][0] = 1.0;
    dp[0][0] = 0.0;
    g.par[0][0] = 0.0;
    for (int n = 1; n <= kMaxDegree; ++n) {
        ar = ar * aor;
        g.ar[n] = ar;
        for (int m = 0; m <= n; ++m) {
            if (n == m) {
                p[m][n] = st * p[m - 1][n - 1];
                dp[m][n] = st * dp[m - 1][n - 1] + ct * p[m - 1][n - 1];
            } else if (n == 1 && m == 0) {
                p[m][n] = ct * p[m][n - 1];
                dp[m][n] = ct * dp[m][n - 1] - st * p[m][n - 1];
            } else {
                if (m > n - 2) {
                    p[m][n - 2] = 0.0;
                    dp[m][n - 2] = 0.0;
                }
                const double k = kRecursion.k[m][n];
                p[m][n] = ct * p[m][n - 1] - k * p[m][n - 2];
                dp[m][n] = ct * dp[m][n - 1] - st * p[m][n - 1] - k * dp[m][n - 2];
            }
            g.par[m][n] = ar * p[m][n];
        }
    }

    // At a geographic pole the east component needs P(n, 1) / sin(colatitude).
    g.pp[0] = 1.0;
    g.pp[1] = g.pp[0];
    for (int n = 2; n <= kMaxDegree; ++n)
        g.pp[n] = ct * g.pp[n - 1] - kRecursion.k[1][n] * g.pp[n - 2];
}

GeomagVector EvaluateGeomag(const GeomagCoefficients& coefficients, const GeomagLatitude& g,
                            float lonDeg) {
    const double(&tc)[kGeomagSize][kGeomagSize] = coefficients.tc;
    const double rlon = lonDeg * kRadPerDeg;
    double sp[kGeomagSize];
    double cp[kGeomagSize];
    sp[0] = 0.0;
    cp[0] = 1.0;
    sp[1] = std::sin(rlon);
    cp[1] = std::cos(rlon);
    for (int m = 2; m <= kMaxDegree; ++m) {
        sp[m] = sp[1] * cp[m - 1] + cp[1] * sp[m - 1];
        cp[m] = cp[1] * cp[m - 1] - sp[1] * sp[m - 1];
    }

    const bool atPole = g.st == 0.0;
    double br = 0.0, bt = 0.0, bp = 0.0, bpp = 0.0;
    for (int n = 1; n <= kMaxDegree; ++n) {
        const double ar = g.ar[n];
        const double fn = n + 1;
        for (int m = 0; m <= n; ++m) {
            const double fm = m;
            const double par = g.par[m][n];
            double t1, t2;
            if (m == 0) {
                t1 = tc[m][n] * cp[m];
                t2 = tc[m][n] * sp[m];
            } else {
                t1 = tc[m][n] * cp[m] + tc[n][m - 1] * sp[m];
                t2 = tc[m][n] * sp[m] - tc[n][m - 1] * cp[m];
            }
            bt = bt - ar * t1 * g.dp[m][n];
            bp += fm * t2 * par;
            br += fn * t1 * par;
            if (atPole && m == 1) bpp += fm * t2 * (ar * g.pp[n]);
        }
    }
    bp = atPole ? bpp : bp / g.st;

    GeomagVector v;
    v.x = static_cast<float>(-bt * g.ca - br * g.sa);
    v.y = static_cast<float>(bp);
    const double x = v.x;
    const double y = v.y;
    v.h = static_cast<float>(std::sqrt(x * x + y * y));
    v.d = static_cast<float>(std::atan2(y, x) * kDegPerRad);
    return v;
}

void GeomagField(AstroState& s, int32_t dayNumber, float latDeg, float lonDeg, float altKm) {
    GeomagCoefficients coefficients;
    PrepareGeomagCoefficients(dayNumber, &coefficients);
    GeomagLatitude latitude;
    PrepareGeomagLatitude(latDeg, altKm, &latitude);
    const GeomagVector v = EvaluateGeomag(coefficients, latitude, lonDeg);
    s.magX = v.x;
    s.magY = v.y;
    s.magH = v.h;
    s.magD = v.d;
}

namespace {

void EnsureField(AstroState& s, int16_t height) {
    if (!s.geomagValid) {
        GeomagField(s, DayNumber(s), static_cast<float>(s.latitudeRad * kDegPerRad),
                    static_cast<float>(s.lonMin * 0.25), static_cast<float>(height * 0.001));
        s.geomagValid = 1;
    }
    s.magValid = s.year < 2020 && s.magH > 5000.0f;
}

}  // namespace

int16_t MagDeclination(AstroState& s, int16_t height) {
    EnsureField(s, height);
    return static_cast<int16_t>(std::trunc(s.magD * 10.0));
}

int16_t MagHorizontalIntensity(AstroState& s, int16_t height) {
    EnsureField(s, height);
    return static_cast<int16_t>(std::trunc(s.magH * 0.01));
}

}  // namespace miravel
