// The tray menu's command numbers and what the main window does with them.
//
// The numbers are those of the menu resource "Pop" (resources/miravel.rc);
// start-up sends some of them itself. The decisions (check marks, which
// switch flips, what is written to the INI file, which entry is grayed while
// its work runs) are made here; the Windows program supplies the calls.
#pragma once

#include <filesystem>

#include "config/autostart.h"
#include "config/program_state.h"
#include "sound/playback.h"

namespace miravel {

inline constexpr int kCmdTimesDialog = 1027;
inline constexpr int kCmdMonthlyTimetable = 1028;
inline constexpr int kCmdYearlyTimetable = 1029;
inline constexpr int kCmdReligiousDays = 1030;
inline constexpr int kCmdChartFirst = 1031;  // "Açılar"
inline constexpr int kCmdChartLast = 1039;   // "Yıllık Vakit Grafiği"
inline constexpr int kCmdCalcParams = 1040;
inline constexpr int kCmdClockCheck = 1041;
inline constexpr int kCmdAdhanSwitch = 1042;
inline constexpr int kCmdStyleNone = 1043;
inline constexpr int kCmdStyleBalloon = 1044;
inline constexpr int kCmdStyleBox = 1045;
inline constexpr int kCmdWallpaperMoon = 1046;
inline constexpr int kCmdWallpaperEarth = 1047;
inline constexpr int kCmdWallpaperGlobe = 1048;
inline constexpr int kCmdRamadanPage = 1051;  // "Ramazan İmsakiyesi", under "Raporlar"
// kCmdChooseAdhanFirst = 1053 (slot 0 "SABAH") .. 1057 (slot 4): sound/playback.h
inline constexpr int kCmdOptions = 1058;
inline constexpr int kCmdManual = 1060;
inline constexpr int kCmdCalculationArticle = 1061;
inline constexpr int kCmdAbout = 1062;
inline constexpr int kCmdTallyFirst = 1063;  // tally 1 .. 1067 tally 5
inline constexpr int kCmdMp3ToWav = 1068;
inline constexpr int kCmdExit = 1069;
inline constexpr int kCmdListenFirst = 1070;  // "Ezan Dinle" slot 0 .. 1074 slot 4
inline constexpr int kCmdWakeUp = 1149;

// The article on how the times are calculated, opened by 1061.
inline constexpr char kCalculationArticleUrl[] = "https://tr.wikipedia.org/wiki/Namaz_vakitleri";

// What a command does outside the program's state. Each call is one effect;
// the Windows program makes it with real calls, tests record it.
class CommandTarget {
  public:
    virtual ~CommandTarget() = default;
    virtual void SetMenuChecked(int command, bool checked) = 0;
    virtual void SetMenuEnabled(int command, bool enabled) = 0;

    virtual void StopSound() = 0;
    virtual void PlaySoundFile(const char* file) = 0;
    virtual void ChooseAdhanFile(int slot) = 0;

    // Opens the manual beside the program with the shell, maximised; a
    // failure is not reported.
    virtual void OpenManual() = 0;
    // Opens an address with the shell, maximised.
    virtual void OpenUrl(const char* url) = 0;
    // The interactive clock check against the time servers.
    virtual void SyncClockInteractive() = 0;

    // The modal dialogs, owned by the main window. DispatchCommand grays the
    // entry before and enables it after.
    virtual void RunTimesDialog() = 0;
    // Returns the dialog's result: 1 when it ended with "Kaydet".
    virtual int RunCalcParamsDialog() = 0;
    virtual int RunOptionsDialog() = 0;
    virtual void RunAboutDialog() = 0;
    // Tally `index` 0..4.
    virtual void RunTallyDialog(int index) = 0;

    // What the options dialog saves with: the start-with-Windows setting and
    // the program file it registers.
    virtual Autostart& AutostartSetting() = 0;
    virtual std::filesystem::path ProgramPath() = 0;
    // Tells the user that the settings file could not be written; the
    // settings stay in force until the program ends.
    virtual void ReportSaveFailure() = 0;

    // Writes the report of 1028, 1029 or 1030, or the page of 1051, and
    // opens it.
    virtual void WriteReport(int command) = 0;
    // Draws chart 1031..1039 in the graph window.
    virtual void ShowChart(int command) = 0;
    // Wallpaper mode 1 moon, 2 earth, 3 globe.
    virtual void SetWallpaperMode(int mode) = 0;
    // The MP3-to-WAV wrapper.
    virtual void ConvertMp3ToWav() = 0;
    // Destroys the main window; the shutdown follows from its destruction.
    virtual void DestroyMainWindow() = 0;
};

// Handles one WM_COMMAND. Numbers the menu does not hold, and 0, do nothing.
void DispatchCommand(ProgramState& ps, const std::filesystem::path& iniPath, int command,
                     CommandTarget& target);

// "iletiler" as start-up applies it: values outside 0..2 mean the box style,
// the default, so that a hand-edited value never reaches another command.
int StartupStyleCommand(int32_t messageStyle);

}  // namespace miravel
