// Benchmarks of the pictures: the world maps (the declination map point by
// point against the prepared one), the sky pictures and the charts.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "core/calendar.h"
#include "graphics/bmp.h"
#include "graphics/chart_raster.h"
#include "graphics/charts.h"
#include "graphics/sky_image.h"
#include "graphics/world_maps.h"

namespace {

using namespace miravel;

std::filesystem::path Resources() {
    return std::filesystem::path(__FILE__).parent_path().parent_path() / "resources";
}

const PaletteBitmap& Earth() {
    static const PaletteBitmap earth = [] {
        PaletteBitmap b;
        LoadPaletteBitmap((Resources() / "earth.bmp").string(), &b);
        return b;
    }();
    return earth;
}

const PaletteBitmap& Moon() {
    static const PaletteBitmap moon = [] {
        PaletteBitmap b;
        LoadPaletteBitmap((Resources() / "moon.bmp").string(), &b);
        return b;
    }();
    return moon;
}

AstroState Istanbul() {
    AstroState s;
    SetLocation(s, 4101, 2897, 180);
    SetDate(s, 21, 6, 2020);
    SetClock(s, 15, 0);
    return s;
}

void BM_DeclinationMapPerPoint(benchmark::State& state) {
    if (Earth().Empty()) state.SkipWithError("resources/earth.bmp not found");
    AstroState s = Istanbul();
    for (auto _ : state)
        benchmark::DoNotOptimize(ComposeDeclinationMapPerPoint(Earth(), s, 4101, 2897, 0));
    state.SetItemsProcessed(state.iterations() * Earth().width * Earth().height);
}
BENCHMARK(BM_DeclinationMapPerPoint)->Unit(benchmark::kMillisecond);

void BM_DeclinationMapPrepared(benchmark::State& state) {
    if (Earth().Empty()) state.SkipWithError("resources/earth.bmp not found");
    AstroState s = Istanbul();
    for (auto _ : state)
        benchmark::DoNotOptimize(ComposeDeclinationMap(Earth(), s, 4101, 2897, 0));
    state.SetItemsProcessed(state.iterations() * Earth().width * Earth().height);
}
BENCHMARK(BM_DeclinationMapPrepared)->Unit(benchmark::kMillisecond);

void BM_VakitMap(benchmark::State& state) {
    if (Earth().Empty()) state.SkipWithError("resources/earth.bmp not found");
    AstroState s = Istanbul();
    for (auto _ : state)
        benchmark::DoNotOptimize(ComposeVakitMap(Earth(), s, 4101, 2897));
}
BENCHMARK(BM_VakitMap)->Unit(benchmark::kMillisecond);

void BM_QiblaMap(benchmark::State& state) {
    if (Earth().Empty()) state.SkipWithError("resources/earth.bmp not found");
    for (auto _ : state)
        benchmark::DoNotOptimize(ComposeQiblaMap(Earth(), 4101, 2897));
}
BENCHMARK(BM_QiblaMap)->Unit(benchmark::kMillisecond);

void BM_SkyPicture(benchmark::State& state) {
    const int kind = static_cast<int>(state.range(0));
    const SkySources sources{&Moon(), &Earth()};
    AstroState s = Istanbul();
    SkyPicture picture;
    for (auto _ : state) {
        s.moonValid = 0;
        if (!ComposeSkyImage(kind, s, 4101, sources, &picture)) {
            state.SkipWithError("source bitmaps not found");
            break;
        }
        benchmark::DoNotOptimize(EncodeWallBmp(picture.image, 2835, 2835));
    }
}
BENCHMARK(BM_SkyPicture)->DenseRange(kSkyMoon, kSkyGlobe)->Unit(benchmark::kMillisecond);

void BM_ChartRendered(benchmark::State& state) {
    const int command = static_cast<int>(state.range(0));
    ProgramState ps;
    ps.location.latitude = 4101;
    ps.location.longitude = 2897;
    ps.location.utcOffset = 180;
    ps.workTime.year = 2020;
    ps.astro = Istanbul();
    const SkySources sources{&Moon(), &Earth()};
    for (auto _ : state) {
        Chart chart;
        BuildChart(command, 1920, 1080, ps, SystemZone{}, sources, &chart);
        benchmark::DoNotOptimize(RenderChart(chart));
    }
}
BENCHMARK(BM_ChartRendered)
    ->Arg(kChartAngles)
    ->Arg(kChartPaths)
    ->Arg(kChartYearly)
    ->Arg(kChartVakitMap)
    ->Unit(benchmark::kMillisecond);

}  // namespace
