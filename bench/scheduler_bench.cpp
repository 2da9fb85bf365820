// The scheduler's minute pass on a running day: the times are known, so a
// pass only compares minutes, formats the remaining time and decides what
// falls due. It runs once a minute for the program's whole life.
#include <benchmark/benchmark.h>

#include "app/day_plan.h"
#include "app/scheduler.h"
#include "config/program_state.h"

namespace {

using namespace miravel;

void BM_MinutePassWithoutRecomputation(benchmark::State& state) {
    ProgramState ps;
    ps.location.latitude = 4101;
    ps.location.longitude = 2897;
    ps.location.utcOffset = 180;
    ScriptedEnvironment env;
    env.zone.standardMinutes = 180;
    env.now = WorkTime{2020, 6, 0, 21, 0, 0, 0, 0};
    RecordingEffects fx(ps);
    MinutePass(ps, env, fx);  // computes the day's times once
    int minute = 0;
    for (auto _ : state) {
        // Noon to late evening: adhans and reminders lie in this span.
        const int m = 12 * 60 + minute;
        env.now.hour = static_cast<uint16_t>(m / 60);
        env.now.minute = static_cast<uint16_t>(m % 60);
        MinutePass(ps, env, fx);
        minute = (minute + 1) % (11 * 60);
        if (fx.records.size() > 4096) fx.records.clear();
    }
    benchmark::DoNotOptimize(ps.dayTimes);
}
BENCHMARK(BM_MinutePassWithoutRecomputation);

}  // namespace
