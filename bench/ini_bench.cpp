// The INI file at sizes no hand would write: 10 MB, most of it time servers.
// Loading and saving must stay well under a tenth of a second, and a clock
// check over 40 000 servers must find them at once.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "config/file_access.h"
#include "config/ini_file.h"
#include "config/settings.h"

namespace {

using namespace miravel;

class BenchFile {
  public:
    explicit BenchFile(const std::string& text) {
        path_ =
            std::filesystem::temp_directory_path() /
            ("miravel-bench-" + std::to_string(getpid()) + "-" + std::to_string(++count_) + ".ini");
        std::ofstream(path_, std::ios::binary).write(text.data(), static_cast<long>(text.size()));
    }
    ~BenchFile() {
        std::error_code ec;
        std::filesystem::remove(path_, ec);
        std::filesystem::remove(TempPathBeside(path_), ec);
    }
    const std::filesystem::path& path() const { return path_; }

  private:
    static inline int count_ = 0;
    std::filesystem::path path_;
};

// The program's own sections, then time servers up to `bytes`.
std::string LargeIni(size_t bytes, size_t maxHosts = SIZE_MAX) {
    std::string text =
        "[Hesap Paramatreleri]\r\nEnlem=4101\r\nBoylam=2897\r\nSaat Farkı=180\r\n"
        "Şehir Adı=İstanbul\r\n\r\n[Seçenekler]\r\nHatırlat=Evet\r\nDuvar=Ay\r\n\r\n"
        "[Time Servers]\r\nMaxHost=2000000000\r\nHostTimeout=2000\r\n";
    char line[80];
    for (size_t i = 0; text.size() < bytes && i < maxHosts; ++i) {
        std::snprintf(line, sizeof line, "Host%zu=ntp%zu.example.org\r\n", i, i);
        text += line;
        if (i % 1000 == 999) text += "; yorum satırı\r\n";
    }
    return text;
}

constexpr size_t k10MB = 10u << 20;

void BM_Load10MB(benchmark::State& state) {
    const BenchFile file(LargeIni(k10MB));
    for (auto _ : state) {
        IniDocument doc;
        LoadIniFile(file.path(), &doc);
        benchmark::DoNotOptimize(doc.GetInt(kCalcSection, "Enlem", 0));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * k10MB));
}
BENCHMARK(BM_Load10MB)->Unit(benchmark::kMillisecond);

// A change in the middle of the file, the text rebuilt, written, flushed to
// disk and renamed over the old file.
void BM_Save10MB(benchmark::State& state) {
    const BenchFile file(LargeIni(k10MB));
    IniDocument doc;
    LoadIniFile(file.path(), &doc);
    int value = 0;
    for (auto _ : state) {
        doc.SetInt("Time Servers", "Host150000", ++value);
        if (!SaveIniFile(file.path(), doc)) state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * k10MB));
}
BENCHMARK(BM_Save10MB)->Unit(benchmark::kMillisecond);

// "Kaydet" of the calculation parameters on the same file: one read, every
// key set, one save.
void BM_SaveCalcParams10MB(benchmark::State& state) {
    const BenchFile file(LargeIni(k10MB));
    ProgramState ps;
    LoadCalcParams(ps, file.path());
    for (auto _ : state) {
        ps.location.latitude = ps.location.latitude == 4101 ? 4102 : 4101;
        SaveCalcParams(ps, file.path());
    }
}
BENCHMARK(BM_SaveCalcParams10MB)->Unit(benchmark::kMillisecond);

// "Internet Saati" reads the server list before its first box.
void BM_ReadTimeServers40000(benchmark::State& state) {
    const BenchFile file(LargeIni(k10MB, 40000));
    for (auto _ : state) {
        const TimeServerList list = ReadTimeServers(file.path());
        benchmark::DoNotOptimize(list.hosts.data());
    }
}
BENCHMARK(BM_ReadTimeServers40000)->Unit(benchmark::kMillisecond);

}  // namespace
