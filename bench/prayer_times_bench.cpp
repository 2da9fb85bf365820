// Benchmarks of the prayer-time core: one place over a year, and the whole
// settlement list's worth of places.
#include <benchmark/benchmark.h>

#include "core/calendar.h"
#include "core/sun.h"

namespace {

using namespace miravel;

// The ten times of every day of 2021 at the state's place.
void TenTimesThroughTheYear(AstroState& s) {
    for (int n = 1; n <= 365; ++n) {
        int m = 0, d = 0;
        MonthAndDay(2021, n, &m, &d);
        SetDate(s, static_cast<int16_t>(d), static_cast<int16_t>(m), 2021);
        int32_t t[kVakitCount];
        ComputeDayTimes(s, t);
        benchmark::DoNotOptimize(t);
    }
}

void BM_TenTimesOnePlaceOneYear(benchmark::State& state) {
    AstroState s;
    SetLocation(s, 4101, 2897, 180);
    for (auto _ : state) {
        TenTimesThroughTheYear(s);
    }
    state.SetItemsProcessed(state.iterations() * 365);
}
BENCHMARK(BM_TenTimesOnePlaceOneYear)->Unit(benchmark::kMicrosecond);

// 8000 places x 365 days: the cost per place and day is what counts.
void BM_TenTimesManyPlaces(benchmark::State& state) {
    const int places = static_cast<int>(state.range(0));
    for (auto _ : state) {
        for (int p = 0; p < places; ++p) {
            AstroState s;
            const int16_t lat = static_cast<int16_t>(-6000 + (p * 37) % 12000);
            const int16_t lon = static_cast<int16_t>(-18000 + (p * 131) % 36000);
            SetLocation(s, lat, lon, static_cast<int16_t>(lon / 1500 * 60));
            TenTimesThroughTheYear(s);
        }
    }
    state.SetItemsProcessed(state.iterations() * places * 365);
}
BENCHMARK(BM_TenTimesManyPlaces)->Arg(8000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
