// The settings on any INI file: loaded, saved and loaded again they are the
// same settings, and a second save writes the same bytes.
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "config/settings.h"
#include "fuzz_input.h"
#include "temp_dir.h"

namespace {

using namespace miravel;

struct Autostarts : Autostart {
    bool registered = false;
    bool IsRegistered() override { return registered; }
    bool Register(const std::filesystem::path&) override { return registered = true; }
    bool Unregister() override {
        registered = false;
        return true;
    }
};

struct Loaded {
    ProgramState ps;
    bool firstRun = false;
    Tally tallies[kTallyCount];
};

Loaded LoadEverything(const std::filesystem::path& ini, Autostart& autostart) {
    Loaded l;
    LoadCalcParams(l.ps, ini);
    LoadOptions(l.ps, ini, autostart);
    LoadAdhanFiles(l.ps, ini);
    l.firstRun = !LoadStartupSwitches(l.ps, ini);
    LoadTallies(ini, l.tallies);
    return l;
}

void SaveEverything(Loaded& l, const std::filesystem::path& ini, Autostart& autostart) {
    FUZZ_CHECK(SaveCalcParams(l.ps, ini));
    FUZZ_CHECK(SaveOptions(l.ps, ini, autostart, "miravel.exe"));
    for (int slot = 0; slot < kAdhanSlotCount; ++slot)
        FUZZ_CHECK(SaveAdhanFile(l.ps, ini, slot));
    FUZZ_CHECK(SaveExitSwitches(l.ps, ini));
    FUZZ_CHECK(SaveMessageStyle(l.ps, ini));
    FUZZ_CHECK(SaveWallpaper(l.ps, ini));
    FUZZ_CHECK(SaveTallies(ini, l.tallies));
}

#define SAME(field) (a.field == b.field)
#define SAME_TEXT(field) (std::strcmp(a.field, b.field) == 0)

bool SameSettings(const Loaded& x, const Loaded& y) {
    {
        const Location &a = x.ps.location, &b = y.ps.location;
        if (!(SAME(useList) && SAME(listRow) && SAME_TEXT(city) && SAME_TEXT(country) &&
              SAME(latitude) && SAME(longitude) && SAME(utcOffset) && SAME(useSystemTimeZone) &&
              SAME(summerTime) && SAME(useSystemSummerTime)))
            return false;
    }
    {
        // Field by field: the structure's padding bytes hold no settings.
        const CalcParams &a = x.ps.calc, &b = y.ps.calc;
        if (std::memcmp(a.temkin, b.temkin, sizeof a.temkin) != 0 ||
            std::memcmp(&a.imsakAngle, &b.imsakAngle, sizeof a.imsakAngle) != 0 ||
            std::memcmp(&a.yatsiAngle, &b.yatsiAngle, sizeof a.yatsiAngle) != 0 ||
            !(SAME(mode) && SAME(diyanet) && SAME(officialHijri)))
            return false;
    }
    {
        const Options &a = x.ps.options, &b = y.ps.options;
        if (!(SAME(morningAdhanLead) && SAME(morningAdhanAtImsak) && SAME(fridaySalaLead) &&
              SAME(fridaySala) && SAME(sahurSalaLead) && SAME(sahurSala) && SAME(reminderLead) &&
              SAME(reminder) && SAME(reminderSala) && SAME(asrSaniAdhan) &&
              SAME(remainingToAnyTime) && SAME(autoClockCorrection) && SAME(autostart) &&
              SAME(relayPort) && SAME(relayLeadSeconds) && SAME(relayHoldSeconds) &&
              SAME(crescentVisibility) && SAME(viewAltitude) && SAME_TEXT(salaTimes) &&
              SAME_TEXT(reminderFile) && SAME_TEXT(reminderButtonText) && SAME(adhanEnabled) &&
              SAME(wakeUp) && SAME(messageStyle) && SAME(wallpaper)))
            return false;
    }
    for (int slot = 0; slot < kAdhanSlotCount; ++slot)
        if (std::strcmp(x.ps.adhanFiles[slot], y.ps.adhanFiles[slot]) != 0) return false;
    if (x.ps.ikindiAdhanTime != y.ps.ikindiAdhanTime) return false;
    for (int i = 0; i < kTallyCount; ++i) {
        const Tally &a = x.tallies[i], &b = y.tallies[i];
        if (!(SAME_TEXT(name) && SAME(value) && SAME(increment))) return false;
    }
    return true;
}

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::filesystem::path ini = fuzz::TempDir() / "miravel.ini";
    {
        std::ofstream out(ini, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    Autostarts autostart;
    autostart.registered = size % 2;

    Loaded first = LoadEverything(ini, autostart);
    (void)ReadTimeServers(ini);
    (void)ReadLastReligiousDay(ini);
    SaveEverything(first, ini, autostart);
    const std::string once = ReadAll(ini);

    Loaded second = LoadEverything(ini, autostart);
    // A file that could not be read (a UTF-16 mark before 8-bit text, say)
    // is not written over: it then loads as it did the first time.
    const bool untouched = once == std::string(reinterpret_cast<const char*>(data), size);
    FUZZ_CHECK(second.firstRun == (untouched && first.firstRun));
    FUZZ_CHECK(SameSettings(first, second));
    SaveEverything(second, ini, autostart);
    FUZZ_CHECK(ReadAll(ini) == once);
    // No temporary file is left beside the INI file.
    FUZZ_CHECK(!std::filesystem::exists(ini.string() + ".tmp"));
    return 0;
}
