// The program's settings in the INI file: the calculation parameters, the
// options, and the few keys that other parts of the program read or write at
// the moment they need them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "config/autostart.h"
#include "config/program_state.h"

namespace miravel {

inline constexpr char kCalcSection[] = "Hesap Paramatreleri";
inline constexpr char kOptionsSection[] = "Seçenekler";
inline constexpr char kTimeServersSection[] = "Time Servers";

// The limits the dialogs enforce. Loading reads a number beyond them as the
// nearest limit.
namespace limits {
inline constexpr int32_t kLatitude = 9000;    // hundredths of a degree, either side
inline constexpr int32_t kLongitude = 18000;  // hundredths of a degree, either side
inline constexpr int32_t kUtcOffset = 720;    // minutes, either side
inline constexpr int32_t kListRow = 30000;    // rows 1..30000
inline constexpr int32_t kImsakAngleLow = -2000, kImsakAngleHigh = -1500;  // hundredths
inline constexpr int32_t kYatsiAngleLow = -2000, kYatsiAngleHigh = -1000;
inline constexpr int32_t kLastCalcMode = 5;       // modes 0..5
inline constexpr int32_t kHostTimeoutMs = 30000;  // "HostTimeout" 0..30000 ms per server
}  // namespace limits
// The range of the temkin of Vakit v (1..10) under `mode`.
void TemkinLimits(int v, int32_t mode, int32_t* low, int32_t* high);

// The key that holds the temkin of Vakit v (1..10): "%s temkini" with the
// name of the time before v ("SABAH temkini" for İMSAK, "AKŞAM temkini" for
// YATSI). Empty for any other v.
std::string TemkinKey(int v);
int32_t DefaultTemkin(int v);

// An angle in hundredths of a degree, truncated toward zero. A value that is a
// whole number of hundredths but lies just inside it as a float (-17.03 is
// -17.0299988) counts as that number, so that what was loaded saves unchanged.
int32_t AngleToHundredths(float degrees);

// The convention of Turkey's official timetable: its temkins (İMSAK 0, GÜNEŞ
// -7, ÖĞLE +5, İKİNDİ +4, AKŞAM +7, YATSI 0 minutes; the other four keep the
// defaults), the angles -18 and -17, mode 4, and the official arithmetic
// (the sun of 00:00 UT for the whole day, sunrise and sunset at the upper
// limb, ÖĞLE at the transit, the plain shadow rule).
void SetDiyanetPreset(CalcParams& calc);

// The defaults of the tables, for the fields the INI sections hold.
void SetCalcDefaults(ProgramState& ps);
void SetOptionDefaults(ProgramState& ps);

// Reads "Hesap Paramatreleri" (defaults for absent keys), then ApplyCalcParams.
void LoadCalcParams(ProgramState& ps, const std::filesystem::path& iniPath);
// Writes every key of "Hesap Paramatreleri" in one save, then ApplyCalcParams.
// False when the file could not be written (it is then unchanged).
bool SaveCalcParams(ProgramState& ps, const std::filesystem::path& iniPath);
// Hands temkins, angles and mode to ps.astro and asks the scheduler for a
// full recomputation at the next tick.
void ApplyCalcParams(ProgramState& ps);

// Reads the twenty option keys, autostart from `autostart`, sets
// ikindiAdhanTime from asrSaniAdhan and ticksToNextRun to 0.
void LoadOptions(ProgramState& ps, const std::filesystem::path& iniPath, Autostart& autostart);
// Writes the twenty option keys in one save, registers `programPath` for
// autostart or unregisters it, sets ticksToNextRun to 0. Returns whether the
// file was written; an autostart failure shows as the next IsRegistered.
bool SaveOptions(ProgramState& ps, const std::filesystem::path& iniPath, Autostart& autostart,
                 const std::filesystem::path& programPath);

// Adhan files, slot 0..4 = SABAH, ÖĞLE, İkindi, AKŞAM, YATSI. The key of the
// İkindi slot is "İKİNDİ" or "ASR-I SANİ" by ikindiAdhanTime.
const char* AdhanSlotKey(int slot, Vakit ikindiAdhanTime);
void LoadAdhanFiles(ProgramState& ps, const std::filesystem::path& iniPath);
bool SaveAdhanFile(const ProgramState& ps, const std::filesystem::path& iniPath, int slot);

// "Duvar": "Ay", "Yeryüzü", "Yerküre" are 1, 2, 3; anything else is 0 (off).
int WallpaperFromText(std::string_view text);
const char* WallpaperText(int wallpaper);  // 0 and unknown values give "Yok"

// Start-up: "Ezan/Salâ" (only "Hayır" switches playback off), "Uyandır",
// "iletiler" and "Duvar". Returns false when "Ezan/Salâ" is absent or empty,
// which marks a first run.
bool LoadStartupSwitches(ProgramState& ps, const std::filesystem::path& iniPath);
// Exit: "Ezan/Salâ" and "Uyandır", in one save.
bool SaveExitSwitches(const ProgramState& ps, const std::filesystem::path& iniPath);
bool SaveMessageStyle(const ProgramState& ps, const std::filesystem::path& iniPath);
bool SaveWallpaper(const ProgramState& ps, const std::filesystem::path& iniPath);

// "Son Dini Gün": the date of the last religious-day notice, "DD/MM/YYYY",
// empty when absent.
std::string ReadLastReligiousDay(const std::filesystem::path& iniPath);
bool WriteLastReligiousDay(const std::filesystem::path& iniPath, uint16_t day, uint16_t month,
                           uint16_t year);

inline constexpr int kTallyCount = 5;
struct Tally {
    char name[33] = "";  // at most 32 characters
    int32_t value = 0;
    int32_t increment = 1;
};
// "Çetele-%i Adı", "Çetele-%i Değeri", "Çetele-%i Eklenecek" for i = 1..5.
void LoadTallies(const std::filesystem::path& iniPath, Tally (&tallies)[kTallyCount]);
bool SaveTallies(const std::filesystem::path& iniPath, const Tally (&tallies)[kTallyCount]);

struct TimeServerList {
    int32_t maxHost = 99;
    uint16_t hostTimeoutMs = 2000;
    std::vector<std::string> hosts;  // Host0 .. Host(maxHost-1), absent and empty ones skipped
};
TimeServerList ReadTimeServers(const std::filesystem::path& iniPath);

}  // namespace miravel
