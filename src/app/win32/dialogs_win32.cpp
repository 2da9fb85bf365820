#include "app/win32/dialogs_win32.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "app/commands.h"
#include "app/win32/app_win32.h"
#include "base/win32/file_dialog_win32.h"
#include "base/win32/wide_text.h"
#include "config/settings.h"
#include "config/settlement_list.h"
#include "net/win32/time_client.h"
#include "ui/calc_params_form.h"
#include "ui/form_fields.h"
#include "ui/options_form.h"
#include "ui/place_picker.h"
#include "ui/project_addresses.h"
#include "ui/tally_form.h"
#include "ui/times_view.h"
#include "ui/win32/dialog_support_win32.h"
#include "ui/win32/place_picker_win32.h"

namespace miravel {

namespace {

constexpr char kSalaMissingQuestion[] =
    "Salâ dosyası (sala.wav) yüklü değil.\nŞimdi yüklemek ister misiniz?\n";
constexpr char kSalaNotFound[] = "Salâ dosyası bulunamadı...\n";
constexpr char kDownloading[] = "Yüklüyor...";

bool Clicked(WPARAM wParam) {
    return HIWORD(wParam) == BN_CLICKED;
}

// The settlement list beside the program, by its full path: a file dialog
// may have left the current folder anywhere.
SettlementListFile ListFileOf(const App& app) {
    return SettlementListBeside(app.paths.program);
}

// ---------------------------------------------------------------------------
// "AstroDlg".

INT_PTR CalcParamsCommandOf(HWND dialog, App& app, int id) {
    Win32DialogControls controls(dialog);
    const SettlementListFile list = ListFileOf(app);
    switch (id) {
        case IDC_OK_BUTTON:
        case IDC_APPLY:
            if (CommitCalcParams(app.ps, controls, list) != 0) {
                SignalRefusal(dialog, id);
            } else if (id == IDC_APPLY) {
                ApplyCalcParams(app.ps);
                RefreshCalcParamsForm(app.ps, list, controls);
            } else {
                EndDialog(dialog, 1);
            }
            return TRUE;
        case IDC_CANCEL_BUTTON:
            EndDialog(dialog, 0);
            return TRUE;
        case IDC_OPEN_LIST: {
            // The program's own picker; the file itself opens from there.
            PlacePicker picker(ReadSettlementRows(list.path));
            PlaceDialogRequest request{&picker, list.path, app.ps.location.listRow, 0, {}};
            if (DialogBoxParamW(app.instance, kPlaceDialogName, dialog, PlacePickerDialogProc,
                                reinterpret_cast<LPARAM>(&request)) == 1 &&
                request.picked > 0) {
                ApplyPickedRow(app.ps, controls, list, request.picked);
            }
            return TRUE;
        }
        default:
            return CalcParamsCommand(app.ps, controls, id, app.environment.LocalTimeNow()) ? TRUE
                                                                                           : FALSE;
    }
}

// ---------------------------------------------------------------------------
// "SettingsDlg".

bool CanDownloadSalaFile(const App& app) {
    return kSalaDownloadUrl[0] != '\0' && app.functions.urlDownloadToFile != nullptr;
}

bool DownloadSalaFile(App& app) {
    if (!CanDownloadSalaFile(app)) return false;
    const std::wstring url = Wide(kSalaDownloadUrl);
    const std::wstring file = Wide(kSalaFileName);
    return SUCCEEDED(
        app.functions.urlDownloadToFile(nullptr, url.c_str(), file.c_str(), 0, nullptr));
}

void Warn(HWND dialog, const char* text) {
    MessageBoxW(dialog, Wide(text).c_str(), L"Miravel", MB_OK | MB_ICONWARNING);
}

// The user's own WAV file becomes "sala.wav" beside the program.
void ChooseSalaFile(HWND dialog) {
    wchar_t file[1024] = L"";
    // The current directory stays the program's folder, where "sala.wav"
    // is looked for.
    if (!ChooseFileName(dialog, kSalaChooseTitle, FileFilter({{"WAV Dosyaları", L"*.wav"}}), file,
                        1024, OFN_FILEMUSTEXIST))
        return;

    char head[12] = {};
    std::ifstream in(std::filesystem::path(file), std::ios::binary);
    in.read(head, sizeof head);
    if (!LooksLikeWave(std::string_view(head, static_cast<size_t>(in.gcount())))) {
        Warn(dialog, kSalaNotWave);
        return;
    }
    in.close();
    if (!CopyFileW(file, Wide(kSalaFileName).c_str(), FALSE)) Warn(dialog, kSalaCopyFailed);
}

// After the minute fields passed: the salâ file, when an option needs it.
// The download is offered only where it can succeed; otherwise the user
// may choose a file of their own.
void OfferSalaFile(HWND dialog, App& app) {
    std::error_code ec;
    const bool exists = std::filesystem::exists(kSalaFileName, ec);
    switch (SalaOfferFor(app.ps.options, exists, CanDownloadSalaFile(app))) {
        case SalaFileOffer::kNone:
            return;
        case SalaFileOffer::kDownload:
            if (MessageBoxW(dialog, Wide(kSalaMissingQuestion).c_str(), L"Miravel",
                            MB_YESNO | MB_ICONQUESTION) != IDYES) {
                return;
            }
            SetDlgItemTextW(dialog, IDC_OK_BUTTON, Wide(kDownloading).c_str());
            UpdateWindow(dialog);
            if (!DownloadSalaFile(app)) Warn(dialog, kSalaNotFound);
            return;
        case SalaFileOffer::kChooseFile:
            if (MessageBoxW(dialog, Wide(kSalaChooseQuestion).c_str(), L"Miravel",
                            MB_YESNO | MB_ICONQUESTION) == IDYES) {
                ChooseSalaFile(dialog);
            }
            return;
    }
}

INT_PTR OptionsCommandOf(HWND dialog, App& app, int id) {
    Win32DialogControls controls(dialog);
    switch (id) {
        case IDC_OK_BUTTON:
            if (CommitOptions(app.ps, controls) != 0) {
                SignalRefusal(dialog, id);
            } else {
                OfferSalaFile(dialog, app);
                EndDialog(dialog, 1);
            }
            return TRUE;
        case IDC_CANCEL_BUTTON:
            EndDialog(dialog, 0);
            return TRUE;
        default: {
            OptionsEffect effect = OptionsEffect::kNone;
            if (!OptionsCommand(app.ps, controls, id, &effect)) return FALSE;
            if (effect == OptionsEffect::kCorrectClockNow) {
                app.commands.SetMenuEnabled(kCmdClockCheck, false);
                app.effects.SyncClockSilently();
                app.commands.SetMenuEnabled(kCmdClockCheck, true);
                // The silent correction says nothing; here the user has just
                // asked for it, so a clock it may not set is worth a word.
                if (ClockSettingNeedsAdministrator() || !MayChangeSystemTime())
                    MessageBoxW(dialog, Wide(kAutoCorrectionNeedsAdministratorText).c_str(),
                                Wide(kClockCheckCaption).c_str(), MB_OK | MB_ICONWARNING);
            }
            return TRUE;
        }
    }
}

// ---------------------------------------------------------------------------
// "VakitDlg".

HWND timesDialog = nullptr;
bool timesDialogWide = false;

void FillTimesDialogWindow(HWND dialog, App& app) {
    const DialogSize size = timesDialogWide ? kTimesWide : kTimesNarrow;
    RECT r = {0, 0, size.width, size.height};
    MapDialogRect(dialog, &r);
    SetWindowPos(dialog, nullptr, 0, 0, r.right, r.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetDlgItemTextW(dialog, IDC_WIDEN, timesDialogWide ? L"<<" : L">>");
    timesDialog = dialog;
    Win32DialogControls controls(dialog);
    FillTimesDialog(app.ps, controls);
}

}  // namespace

INT_PTR CALLBACK CalcParamsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            App& app = KeepDialogData<App>(dialog, lParam);
            AddControlTips(dialog, CalcParamsTips);
            Win32DialogControls controls(dialog);
            RefreshCalcParamsForm(app.ps, ListFileOf(app), controls);
            return TRUE;
        }
        case WM_COMMAND:
            if (!Clicked(wParam)) return FALSE;
            return CalcParamsCommandOf(dialog, *DialogData<App>(dialog), LOWORD(wParam));
        case WM_MOUSEWHEEL: {
            App& app = *DialogData<App>(dialog);
            Win32DialogControls controls(dialog);
            CalcParamsWheel(app.ps, controls, ListFileOf(app), GET_WHEEL_DELTA_WPARAM(wParam));
            return TRUE;
        }
        default:
            return FALSE;
    }
}

INT_PTR CALLBACK OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            App& app = KeepDialogData<App>(dialog, lParam);
            AddControlTips(dialog, OptionsTips);
            Win32DialogControls controls(dialog);
            RefreshOptionsForm(app.ps, controls);
            return TRUE;
        }
        case WM_COMMAND:
            if (!Clicked(wParam)) return FALSE;
            return OptionsCommandOf(dialog, *DialogData<App>(dialog), LOWORD(wParam));
        default:
            return FALSE;
    }
}

INT_PTR CALLBACK TimesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            FillTimesDialogWindow(dialog, KeepDialogData<App>(dialog, lParam));
            return TRUE;
        case WM_COMMAND:
            if (!Clicked(wParam)) return FALSE;
            if (LOWORD(wParam) == IDC_WIDEN) {
                timesDialogWide = !timesDialogWide;
                FillTimesDialogWindow(dialog, *DialogData<App>(dialog));
            } else if (LOWORD(wParam) == IDC_OK_BUTTON) {
                EndDialog(dialog, 1);
            }
            // Escape and the close command do nothing: "Tamam" closes.
            return TRUE;
        case WM_DESTROY:
            if (timesDialog == dialog) timesDialog = nullptr;
            return FALSE;
        default:
            return FALSE;
    }
}

INT_PTR CALLBACK ReminderDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            const auto& request = KeepDialogData<const ReminderDialogRequest>(dialog, lParam);
            AddControlTip(IDC_OK_BUTTON, dialog, request.buttonTip);
            Win32DialogControls controls(dialog);
            controls.SetText(IDC_REMINDER_TEXT, request.text);
            controls.SetText(IDC_OK_BUTTON, request.buttonText);
            SetForegroundWindow(dialog);
            return TRUE;
        }
        case WM_COMMAND:
            if (Clicked(wParam) && LOWORD(wParam) == IDC_OK_BUTTON) {
                DialogData<ReminderDialogRequest>(dialog)->app->playback.StopSound();
                EndDialog(dialog, 1);
            }
            // Escape does nothing.
            return TRUE;
        case WM_CLOSE:
            // Only a newer notification closes it this way (by its title).
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
    }
}

INT_PTR CALLBACK TallyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            const auto& request = KeepDialogData<const TallyDialogRequest>(dialog, lParam);
            App& app = *request.app;
            AddControlTips(dialog, TallyTips);
            SendDlgItemMessageW(dialog, IDC_TALLY_NAME, EM_LIMITTEXT, kTallyNameLimit, 0);

            // The name is the menu entry's text; value and increment the INI's.
            Tally tally;
            wchar_t name[kTallyNameLimit * 2] = L"";
            if (app.popupMenu != nullptr) {
                GetMenuStringW(app.popupMenu, static_cast<UINT>(kCmdTallyFirst + request.index),
                               name, static_cast<int>(std::size(name)), MF_BYCOMMAND);
            }
            CopyCut(Narrow(name), kTallyNameLimit, tally.name, sizeof tally.name);
            LoadTally(app.paths.ini, request.index + 1, &tally);
            Win32DialogControls controls(dialog);
            FillTallyForm(tally, controls);
            return TRUE;
        }
        case WM_COMMAND: {
            if (!Clicked(wParam)) return FALSE;
            const auto& request = *DialogData<TallyDialogRequest>(dialog);
            Win32DialogControls controls(dialog);
            if (LOWORD(wParam) == IDC_TALLY_ADD) {
                AddToTally(controls);
            } else if (LOWORD(wParam) == IDC_OK_BUTTON) {
                const Tally tally = ReadTallyForm(controls);
                App& app = *request.app;
                SaveTally(app.paths.ini, request.index + 1, tally);
                if (app.popupMenu != nullptr) {
                    std::wstring text = Wide(tally.name);
                    MENUITEMINFOW item = {};
                    item.cbSize = sizeof item;
                    item.fMask = MIIM_STRING;
                    item.dwTypeData = text.data();
                    SetMenuItemInfoW(app.popupMenu,
                                     static_cast<UINT>(kCmdTallyFirst + request.index), FALSE,
                                     &item);
                }
                EndDialog(dialog, 1);
            }
            // Escape does nothing: closing always saves.
            return TRUE;
        }
        default:
            return FALSE;
    }
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            const App& app = KeepDialogData<App>(dialog, lParam);
            if (app.icon != nullptr) {
                SendDlgItemMessageW(dialog, IDC_ABOUT_ICON, STM_SETICON,
                                    reinterpret_cast<WPARAM>(app.icon), 0);
            }
            Win32DialogControls controls(dialog);
            controls.SetText(IDC_ABOUT_TEXT, AboutText());
            controls.Enable(IDC_EMAIL, kProjectEmail[0] != '\0');
            return TRUE;
        }
        case WM_COMMAND:
            if (!Clicked(wParam)) return FALSE;
            switch (LOWORD(wParam)) {
                case IDC_WEB_PAGE:
                    // The program's web page is its manual, in either form.
                    OpenManualFiles(dialog, DialogData<App>(dialog)->paths);
                    EndDialog(dialog, 1);
                    break;
                case IDC_EMAIL:
                    if (kProjectEmail[0] != '\0')
                        OpenWithShell(dialog, (std::string("mailto:") + kProjectEmail).c_str());
                    EndDialog(dialog, 1);
                    break;
                case IDC_OK_BUTTON:
                    EndDialog(dialog, 1);
                    break;
                default:
                    break;
            }
            return TRUE;
        default:
            return FALSE;
    }
}

HWND OpenTimesDialogWindow() {
    return timesDialog;
}

void RefreshTimesDialogWindow(App& app) {
    if (timesDialog != nullptr) FillTimesDialogWindow(timesDialog, app);
}

bool TimesDialogWide() {
    return timesDialogWide;
}

}  // namespace miravel
