#include "app/commands.h"

#include "app/scheduler.h"
#include "config/settings.h"

namespace miravel {

namespace {

void SetMessageStyle(ProgramState& ps, const std::filesystem::path& iniPath, int style,
                     CommandTarget& target) {
    ps.options.messageStyle = style;
    for (int c = kCmdStyleNone; c <= kCmdStyleBox; ++c)
        target.SetMenuChecked(c, false);
    target.SetMenuChecked(kCmdStyleNone + style, true);
    SaveMessageStyle(ps, iniPath);
}

}  // namespace

void DispatchCommand(ProgramState& ps, const std::filesystem::path& iniPath, int command,
                     CommandTarget& target) {
    Options& o = ps.options;

    if (command >= kCmdStyleNone && command <= kCmdStyleBox) {
        SetMessageStyle(ps, iniPath, command - kCmdStyleNone, target);
        return;
    }
    if (command >= kCmdChooseAdhanFirst && command < kCmdChooseAdhanFirst + kAdhanSlotCount) {
        // ChooseAdhanFile grays and enables its own entry around the dialog.
        target.ChooseAdhanFile(command - kCmdChooseAdhanFirst);
        return;
    }
    if (command >= kCmdListenFirst && command < kCmdListenFirst + kAdhanSlotCount) {
        // The player itself refuses while "Ezan / Salâ" is off.
        target.PlaySoundFile(ps.adhanFiles[command - kCmdListenFirst]);
        return;
    }

    if ((command >= kCmdMonthlyTimetable && command <= kCmdReligiousDays) ||
        command == kCmdRamadanPage) {
        target.WriteReport(command);
        return;
    }
    if (command >= kCmdChartFirst && command <= kCmdChartLast) {
        ps.lastChart = command;
        target.ShowChart(command);
        return;
    }
    if (command >= kCmdWallpaperMoon && command <= kCmdWallpaperGlobe) {
        target.SetWallpaperMode(command - (kCmdWallpaperMoon - 1));
        return;
    }
    if (command >= kCmdTallyFirst && command < kCmdTallyFirst + kTallyCount) {
        target.SetMenuEnabled(command, false);
        target.RunTallyDialog(command - kCmdTallyFirst);
        target.SetMenuEnabled(command, true);
        return;
    }

    switch (command) {
        case kCmdTimesDialog:
            target.SetMenuEnabled(command, false);
            target.RunTimesDialog();
            target.SetMenuEnabled(command, true);
            break;
        case kCmdCalcParams:
            target.SetMenuEnabled(command, false);
            if (target.RunCalcParamsDialog() == 1) {
                if (!SaveCalcParams(ps, iniPath)) target.ReportSaveFailure();
            } else {
                LoadCalcParams(ps, iniPath);
            }
            target.SetMenuEnabled(command, true);
            break;
        case kCmdOptions:
            target.SetMenuEnabled(command, false);
            if (target.RunOptionsDialog() == 1) {
                if (!SaveOptions(ps, iniPath, target.AutostartSetting(), target.ProgramPath()))
                    target.ReportSaveFailure();
            } else {
                LoadOptions(ps, iniPath, target.AutostartSetting());
            }
            target.SetMenuEnabled(command, true);
            break;
        case kCmdAbout:
            target.SetMenuEnabled(command, false);
            target.RunAboutDialog();
            target.SetMenuEnabled(command, true);
            break;
        case kCmdMp3ToWav:
            target.ConvertMp3ToWav();
            break;
        case kCmdAdhanSwitch:
            o.adhanEnabled = !o.adhanEnabled;
            if (!o.adhanEnabled) target.StopSound();
            target.SetMenuChecked(kCmdAdhanSwitch, o.adhanEnabled);
            break;
        case kCmdWakeUp:
            o.wakeUp = !o.wakeUp;
            target.SetMenuChecked(kCmdWakeUp, o.wakeUp);
            break;
        case kCmdClockCheck:
            target.SetMenuEnabled(kCmdClockCheck, false);
            // The clock it sets, itself or through the administrator
            // helper, is the program's own: no minute repeats or is lost.
            OnOwnClockCheck(ps, true);
            target.SyncClockInteractive();
            OnOwnClockCheck(ps, false);
            target.SetMenuEnabled(kCmdClockCheck, true);
            break;
        case kCmdManual:
            target.OpenManual();
            break;
        case kCmdCalculationArticle:
            target.OpenUrl(kCalculationArticleUrl);
            break;
        case kCmdExit:
            target.DestroyMainWindow();
            break;
        default:
            break;
    }
}

int StartupStyleCommand(int32_t messageStyle) {
    if (messageStyle < 0 || messageStyle > 2) messageStyle = 2;
    return kCmdStyleNone + messageStyle;
}

}  // namespace miravel
