// Benchmarks of the place picker over the shipped settlement list: reading
// and indexing the file when the picker opens, and narrowing the list for
// one keystroke.
#include <benchmark/benchmark.h>

#include <string>

#include "config/settlement_list.h"
#include "ui/place_picker.h"

namespace {

using namespace miravel;

const std::string kListPath = std::string(MIRAVEL_SOURCE_DIR) + "/data/miravel.csv";

void BM_PlacePickerOpen(benchmark::State& state) {
    for (auto _ : state) {
        PlacePicker picker(ReadSettlementRows(kListPath));
        benchmark::DoNotOptimize(picker.ShownCount());
    }
}
BENCHMARK(BM_PlacePickerOpen)->Unit(benchmark::kMillisecond);

void BM_PlacePickerKeystroke(benchmark::State& state) {
    PlacePicker picker(ReadSettlementRows(kListPath));
    const char* queries[] = {"c", "ca", "can", "cank", "canka", "cankay", "cankaya"};
    size_t i = 0;
    for (auto _ : state) {
        picker.SetQuery(queries[i]);
        benchmark::DoNotOptimize(picker.ShownCount());
        i = (i + 1) % 7;
    }
}
BENCHMARK(BM_PlacePickerKeystroke)->Unit(benchmark::kMicrosecond);

}  // namespace
