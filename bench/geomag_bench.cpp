// Benchmarks of the geomagnetic field: one point, and a declination world map
// of 800 x 400 = 320 000 points evaluated point by point and with the date and
// latitude work hoisted out of the inner loop.
#include <benchmark/benchmark.h>

#include "core/calendar.h"
#include "core/geomag.h"

namespace {

using namespace miravel;

constexpr int kMapWidth = 800;
constexpr int kMapHeight = 400;

void BM_GeomagFieldOnePoint(benchmark::State& state) {
    AstroState s;
    const int32_t day = DayNumberOf(1, 6, 2018);
    float lon = -180.0f;
    for (auto _ : state) {
        GeomagField(s, day, 41.01f, lon, 0.0f);
        benchmark::DoNotOptimize(s.magD);
        lon = lon < 179.0f ? lon + 0.5f : -180.0f;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GeomagFieldOnePoint);

void BM_GeomagEvaluatePoint(benchmark::State& state) {
    GeomagCoefficients coefficients;
    PrepareGeomagCoefficients(DayNumberOf(1, 6, 2018), &coefficients);
    GeomagLatitude row;
    PrepareGeomagLatitude(41.01f, 0.0f, &row);
    float lon = -180.0f;
    for (auto _ : state) {
        const GeomagVector v = EvaluateGeomag(coefficients, row, lon);
        benchmark::DoNotOptimize(v);
        lon = lon < 179.0f ? lon + 0.5f : -180.0f;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GeomagEvaluatePoint);

void BM_GeomagPrepareCoefficients(benchmark::State& state) {
    int32_t day = DayNumberOf(1, 1, 2010);
    for (auto _ : state) {
        GeomagCoefficients coefficients;
        PrepareGeomagCoefficients(day, &coefficients);
        benchmark::DoNotOptimize(coefficients);
        day = day < 8000 ? day + 1 : 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GeomagPrepareCoefficients);

void BM_GeomagPrepareLatitude(benchmark::State& state) {
    float lat = -90.0f;
    for (auto _ : state) {
        GeomagLatitude row;
        PrepareGeomagLatitude(lat, 0.0f, &row);
        benchmark::DoNotOptimize(row);
        lat = lat < 89.0f ? lat + 0.5f : -90.0f;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GeomagPrepareLatitude);

float MapLatitude(int y) {
    return 90.0f - (y + 0.5f) * (180.0f / kMapHeight);
}
float MapLongitude(int x) {
    return -180.0f + (x + 0.5f) * (360.0f / kMapWidth);
}

// What a map gets from calling GeomagField for every pixel.
void BM_DeclinationMapPointByPoint(benchmark::State& state) {
    AstroState s;
    const int32_t day = DayNumberOf(1, 6, 2018);
    for (auto _ : state) {
        float sum = 0.0f;
        for (int y = 0; y < kMapHeight; ++y) {
            for (int x = 0; x < kMapWidth; ++x) {
                GeomagField(s, day, MapLatitude(y), MapLongitude(x), 0.0f);
                sum += s.magD;
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kMapWidth * kMapHeight);
}
BENCHMARK(BM_DeclinationMapPointByPoint)->Unit(benchmark::kMillisecond);

// The same map with the date's coefficients prepared once and each row's
// latitude terms once per row.
void BM_DeclinationMapHoisted(benchmark::State& state) {
    const int32_t day = DayNumberOf(1, 6, 2018);
    for (auto _ : state) {
        GeomagCoefficients coefficients;
        PrepareGeomagCoefficients(day, &coefficients);
        float sum = 0.0f;
        for (int y = 0; y < kMapHeight; ++y) {
            GeomagLatitude row;
            PrepareGeomagLatitude(MapLatitude(y), 0.0f, &row);
            for (int x = 0; x < kMapWidth; ++x)
                sum += EvaluateGeomag(coefficients, row, MapLongitude(x)).d;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kMapWidth * kMapHeight);
}
BENCHMARK(BM_DeclinationMapHoisted)->Unit(benchmark::kMillisecond);

}  // namespace
