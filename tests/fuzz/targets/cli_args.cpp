// miravel-cli's place options on any command line and any INI file and
// settlement list: the flags are parsed as declared, accepted values are in
// their ranges and exact, and the title and clock texts are made.
//
// Input: the INI text, the settlement list, then the arguments, all
// NUL-separated; "@ini" stands for the INI file's path.
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "cli/cli_args.h"
#include "exact_decimal.h"
#include "fuzz_input.h"
#include "temp_dir.h"

namespace {

using namespace miravel;

void Write(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

void CheckScaled(const cli::Args& args, const char* flag, int32_t multiplier, int32_t value) {
    const std::string* text = args.Value(flag);
    if (!text) return;
    const char* end = nullptr;
    FUZZ_CHECK(value == fuzz::ExactScale(text->c_str(), multiplier, &end));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The settlement list is miravel.csv of the current folder.
    static const bool inFolder = ::chdir(fuzz::TempDir().c_str()) == 0;
    FUZZ_CHECK(inFolder);
    fuzz::FuzzInput in(data, size);
    const std::filesystem::path ini = fuzz::TempDir() / "given.ini";
    Write(ini, in.Part());
    Write("miravel.csv", in.Part());

    std::vector<std::string> words;
    while (!in.Empty() && words.size() < 16) {
        std::string w = in.Part();
        words.push_back(w == "@ini" ? ini.string() : w);
    }
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(w.data());

    const std::set<std::string> values = {"--ini",  "--lat", "--lon",  "--zone",
                                          "--mode", "--row", "--date", "--time"};
    const std::set<std::string> switches = {"--summer"};
    cli::Args args(values, switches);
    std::string error;
    const bool parsed = args.Parse(static_cast<int>(argv.size()), argv.data(), &error);

    // What the parse must say, word by word.
    bool wanted = true;
    size_t positional = 0;
    for (size_t i = 0; i < words.size() && wanted; ++i) {
        const std::string& w = words[i];
        if (w.size() <= 2 || w.compare(0, 2, "--") != 0) {
            ++positional;
        } else if (values.count(w)) {
            if (i + 1 == words.size()) wanted = false;
            ++i;
        } else if (!switches.count(w)) {
            wanted = false;
        }
    }
    FUZZ_CHECK(parsed == wanted);
    FUZZ_CHECK(parsed == error.empty());
    if (!parsed) return 0;
    FUZZ_CHECK(args.Positional().size() == positional);

    ProgramState ps;
    std::filesystem::path usedIni;
    if (cli::LoadPlaceAndOptions(args, ps, &usedIni, &error)) {
        const Location& l = ps.location;
        if (args.Value("--lat")) {
            FUZZ_CHECK(l.latitude >= -9000 && l.latitude <= 9000);
            FUZZ_CHECK(l.longitude >= -18000 && l.longitude <= 18000);
            CheckScaled(args, "--lat", 100, l.latitude);
            CheckScaled(args, "--lon", 100, l.longitude);
        }
        if (args.Value("--zone")) {
            FUZZ_CHECK(l.utcOffset >= -840 && l.utcOffset <= 840);
            CheckScaled(args, "--zone", 60, l.utcOffset);
        }
        if (args.Value("--mode")) FUZZ_CHECK(ps.calc.mode >= 0 && ps.calc.mode <= 5);
        if (args.Value("--row")) FUZZ_CHECK(l.useList && l.listRow >= 1 && l.listRow <= 30000);
        FUZZ_CHECK(std::memchr(l.city, '\0', sizeof l.city) &&
                   std::memchr(l.country, '\0', sizeof l.country));
        FUZZ_CHECK(!cli::PlaceTitle(ps, args.Value("--lat") != nullptr).empty());
    } else {
        FUZZ_CHECK(!error.empty());
    }

    cli::Date date;
    error.clear();
    if (cli::DateOption(args, &date, &error)) {
        static constexpr int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        FUZZ_CHECK(date.year >= 1901 && date.year <= 2099 && date.month >= 1 && date.month <= 12);
        FUZZ_CHECK(date.day >= 1 && date.day <= kDays[date.month - 1]);
        FUZZ_CHECK(!(date.month == 2 && date.day == 29 && date.year % 4 != 0));
        (void)cli::ZoneMinutesFor(ps, date);
    } else {
        FUZZ_CHECK(args.Value("--date") && !error.empty());
    }
    int hour = -1, minute = -1;
    if (cli::TimeOption(args, &hour, &minute, &error)) {
        FUZZ_CHECK(hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59);
        FUZZ_CHECK(cli::ClockText(hour * 60 + minute).size() == 5);
    }
    for (int m : {static_cast<int>(in.U32()), static_cast<int>(size) * 7 - 9000})
        FUZZ_CHECK(cli::ClockText(m).size() <= 7);
    return 0;
}
