#include "app/commands.h"

#include "config/settings.h"

namespace miravel {

namespace {

// Work that later parts of the program bring: the dialogs, the reports, the
// charts and maps, and the wallpaper.
bool IsPendingWork(int command) {
    if (command >= kCmdTimesDialog && command <= kCmdCalcParams) return true;
    if (command >= kCmdWallpaperMoon && command <= kCmdWallpaperGlobe) return true;
    if (command == kCmdOptions) return true;
    if (command >= kCmdAbout && command <= kCmdTallyFirst + 4) return true;
    return false;
}

void SetMessageStyle(ProgramState& ps, const std::filesystem::path& iniPath, int style,
                     CommandTarget& target) {
    ps.options.messageStyle = style;
    for (int c = kCmdStyleNone; c <= kCmdStyleBox; ++c)
        target.SetMenuChecked(c, false);
    target.SetMenuChecked(kCmdStyleNone + style, true);
    SaveMessageStyle(ps, iniPath);
}

}  // namespace

bool IsCommandAvailable(int command) {
    return !IsPendingWork(command);
}

int UnavailableCommands(int* out, int capacity) {
    int n = 0;
    for (int c = kCmdTimesDialog; c <= kCmdWakeUp && n < capacity; ++c) {
        if (IsPendingWork(c)) out[n++] = c;
    }
    return n;
}

void DispatchCommand(ProgramState& ps, const std::filesystem::path& iniPath, int command,
                     CommandTarget& target) {
    if (!IsCommandAvailable(command)) return;
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

    switch (command) {
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
            target.SyncClockInteractive();
            target.SetMenuEnabled(kCmdClockCheck, true);
            break;
        case kCmdManual:
            target.OpenManual();
            break;
        case kCmdCalculationArticle:
            target.OpenUrl(kCalculationArticleUrl);
            break;
        case kCmdMp3ToWav:
            target.ConvertMp3ToWav();
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
