// The dialog templates and procedures on Windows (under Wine in the cross
// build): every template loads with its controls, nothing overlaps or sticks
// out, no text is cut off, and the procedures move text between the controls
// and the form rules. Natively there is nothing to test here.
#ifdef _WIN32

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/win32/app_win32.h"
#include "app/win32/dialogs_win32.h"
#include "base/win32/wide_text.h"
#include "config/ini_file.h"
#include "config/settings.h"
#include "config/settlement_list.h"
#include "core/calendar.h"
#include "core/sun.h"
#include "ui/times_view.h"
#include "ui/win32/place_picker_win32.h"

namespace miravel {
namespace {

struct Template {
    const wchar_t* name;
    std::vector<int> ids;
};

std::vector<int> Range(int first, int last) {
    std::vector<int> ids;
    for (int id = first; id <= last; ++id)
        ids.push_back(id);
    return ids;
}

std::vector<Template> Templates() {
    std::vector<int> astro = Range(IDC_TEMKIN_FIRST, IDC_APPLY);
    for (int id : {IDC_WORK_DATE, IDC_WORK_TIME, IDC_SYSTEM_ZONE, IDC_SYSTEM_SUMMER, IDC_REAL_TIME,
                   IDC_DIYANET, IDC_OFFICIAL_HIJRI, IDC_OK_BUTTON, IDC_CANCEL_BUTTON})
        astro.push_back(id);
    std::vector<int> settings = Range(IDC_MORNING_AT_SUNRISE, IDC_SAHUR_SALA);
    settings.erase(settings.begin() + 3, settings.begin() + 6);  // 1103..1105 belong elsewhere
    for (int id : {IDC_REMAINING_ANY, IDC_AUTO_CLOCK, IDC_ASR_SANI_ADHAN, IDC_AUTOSTART,
                   IDC_OK_BUTTON, IDC_CANCEL_BUTTON})
        settings.push_back(id);
    std::vector<int> times = Range(IDC_TIME_FIRST, IDC_MOON_NOTE);
    times.push_back(IDC_OK_BUTTON);
    return {
        {kCalcParamsDialogName, astro},
        {kOptionsDialogName, settings},
        {kTimesDialogName, times},
        {kReminderDialogName, {IDC_REMINDER_TEXT, IDC_OK_BUTTON}},
        {kTallyDialogName,
         {IDC_TALLY_NAME, IDC_TALLY_VALUE, IDC_TALLY_INCREMENT, IDC_TALLY_ADD, IDC_OK_BUTTON}},
        {kAboutDialogName,
         {IDC_ABOUT_ICON, IDC_ABOUT_TEXT, IDC_WEB_PAGE, IDC_EMAIL, IDC_OK_BUTTON}},
        {kPlaceDialogName,
         {IDC_PLACE_SEARCH, IDC_PLACE_LIST, IDC_PLACE_STATUS, IDC_PLACE_OPEN_FILE, IDC_OK_BUTTON,
          IDC_CANCEL_BUTTON}},
    };
}

// Windows need a display; without one (Wine with no X server) these tests
// are skipped here and run by the dialogs' end-to-end script on Xvfb.
bool HaveDisplay() {
    const HWND probe = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
    if (probe == nullptr) return false;
    DestroyWindow(probe);
    return true;
}

#define SKIP_WITHOUT_DISPLAY() \
    if (!HaveDisplay()) GTEST_SKIP() << "no display"

INT_PTR CALLBACK PlainProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

struct DialogWindow {
    HWND hwnd;
    explicit DialogWindow(HWND h) : hwnd(h) {}
    ~DialogWindow() {
        if (hwnd != nullptr) DestroyWindow(hwnd);
    }
};

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = L"";
    GetClassNameW(hwnd, name, 64);
    return name;
}

std::wstring TextOf(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

RECT RectInDialog(HWND dialog, HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool IsGroupBox(HWND hwnd) {
    return ClassOf(hwnd) == L"Button" && (GetWindowLongW(hwnd, GWL_STYLE) & 0xF) == BS_GROUPBOX;
}

std::vector<HWND> Children(HWND dialog) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT))
        children.push_back(c);
    return children;
}

std::string Describe(HWND hwnd) {
    return "control " + std::to_string(GetDlgCtrlID(hwnd)) + " \"" + Narrow(TextOf(hwnd)) + "\"";
}

// The text of a static, button or check box must fit its control in the
// dialog's font: each line for a single-line control, the wrapped text for
// a multi-line static.
void ExpectTextFits(HWND control) {
    const std::wstring text = TextOf(control);
    if (text.empty() || IsGroupBox(control)) return;
    const std::wstring cls = ClassOf(control);
    if (cls != L"Static" && cls != L"Button") return;
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    if (cls == L"Static" && (style & SS_TYPEMASK) == SS_ICON) return;

    RECT client;
    GetClientRect(control, &client);
    int width = client.right;
    const int type = style & 0xF;
    const bool box = cls == L"Button" && (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX ||
                                          type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
    // A check box's square and the gap after it; a push button's edges.
    if (box) width -= GetSystemMetrics(SM_CXMENUCHECK) + 4;
    if (cls == L"Button" && !box) width -= 6;

    const HDC dc = GetDC(control);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT need = {0, 0, width, 0};
    const bool wraps = cls == L"Static" && (style & SS_TYPEMASK) <= SS_RIGHT;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &need,
              DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE) | DT_EXPANDTABS);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    EXPECT_LE(need.right, width) << Describe(control) << " is cut off on the right";
    EXPECT_LE(need.bottom, client.bottom) << Describe(control) << " is cut off below";
}

// No two controls overlap, except that a group box holds its controls;
// every control lies inside `area`.
void ExpectLayoutClean(HWND dialog, const RECT& area) {
    const std::vector<HWND> children = Children(dialog);
    for (size_t i = 0; i < children.size(); ++i) {
        const RECT a = RectInDialog(dialog, children[i]);
        EXPECT_TRUE(a.left >= area.left && a.top >= area.top && a.right <= area.right &&
                    a.bottom <= area.bottom)
            << Describe(children[i]) << " sticks out of the dialog";
        for (size_t j = i + 1; j < children.size(); ++j) {
            const RECT b = RectInDialog(dialog, children[j]);
            RECT both;
            if (!IntersectRect(&both, &a, &b)) continue;
            const bool groupHolds = (IsGroupBox(children[i]) && EqualRect(&both, &b)) ||
                                    (IsGroupBox(children[j]) && EqualRect(&both, &a));
            EXPECT_TRUE(groupHolds)
                << Describe(children[i]) << " overlaps " << Describe(children[j]);
        }
        ExpectTextFits(children[i]);
    }
}

TEST(DialogTemplates, LoadWithTheirControlsAndACleanLayout) {
    SKIP_WITHOUT_DISPLAY();
    for (const Template& t : Templates()) {
        SCOPED_TRACE(Narrow(t.name));
        DialogWindow d(
            CreateDialogParamW(GetModuleHandleW(nullptr), t.name, nullptr, PlainProc, 0));
        ASSERT_NE(d.hwnd, nullptr);
        for (int id : t.ids)
            EXPECT_NE(GetDlgItem(d.hwnd, id), nullptr) << id;
        RECT client;
        GetClientRect(d.hwnd, &client);
        ExpectLayoutClean(d.hwnd, client);
    }
}

// A program as start-up leaves it, without windows of its own: İstanbul from
// the shipped list, the default parameters, 16 June 2024 at noon.
class DialogProgram {
  public:
    DialogProgram() : app(std::make_unique<App>(GetModuleHandleW(nullptr))) {
        const std::filesystem::path data = std::filesystem::path(MIRAVEL_SOURCE_DIR) / "data";
        app->paths.directory = data;
        app->paths.program = data / "miravel.exe";
        folder = std::filesystem::temp_directory_path() /
                 ("miravel-dialogs-" + std::to_string(GetCurrentProcessId()));
        std::filesystem::create_directories(folder);
        app->paths.ini = folder / "miravel.ini";
        std::filesystem::remove(app->paths.ini);

        ProgramState& ps = app->ps;
        SetCalcDefaults(ps);
        SetOptionDefaults(ps);
        ps.location.useList = true;
        ps.location.listRow = 34;
        LoadSettlementRow(data / "miravel.csv", 34, ps.location);
        ps.realTime = false;
        ps.workTime.day = 16;
        ps.workTime.month = 6;
        ps.workTime.year = 2024;
        ps.workTime.hour = 12;
        ps.workTime.minute = 0;
        ApplyCalcParams(ps);
        SetLocation(ps.astro, ps.location.latitude, ps.location.longitude, ps.location.utcOffset);
        SetDate(ps.astro, 16, 6, 2024);
        SetClock(ps.astro, 12, 0);
        ComputeDayTimes(ps.astro, ps.dayTimes);
    }
    ~DialogProgram() {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }

    // Shown, so that a dialog's end (which hides it) can be seen.
    HWND Open(const wchar_t* name, DLGPROC proc, void* param) {
        const HWND hwnd = CreateDialogParamW(GetModuleHandleW(nullptr), name, nullptr, proc,
                                             reinterpret_cast<LPARAM>(param));
        if (hwnd != nullptr) ShowWindow(hwnd, SW_SHOWNA);
        return hwnd;
    }

    std::unique_ptr<App> app;
    std::filesystem::path folder;
};

void Click(HWND dialog, int id) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void Type(HWND dialog, int id, const char* text) {
    SetDlgItemTextW(dialog, id, Wide(text).c_str());
}

std::string Shown(HWND dialog, int id) {
    return Narrow(TextOf(GetDlgItem(dialog, id)));
}

void Pump(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
}

TEST(CalcParamsDialogWin32, RefusesThenStoresAndAppliesExactDecimals) {
    SKIP_WITHOUT_DISPLAY();
    DialogProgram p;
    DialogWindow d(p.Open(kCalcParamsDialogName, CalcParamsDialogProc, p.app.get()));
    ASSERT_NE(d.hwnd, nullptr);
    EXPECT_EQ(Shown(d.hwnd, IDC_CITY), p.app->ps.location.city);
    EXPECT_EQ(Shown(d.hwnd, IDC_LIST_ROW), "34");
    EXPECT_EQ(Shown(d.hwnd, IDC_WORK_DATE), "16/06/2024");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(d.hwnd, IDC_OPEN_LIST)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d.hwnd, IDC_LATITUDE)));

    // Mode 5 with a YATSI temkin of 2: refused, "Uygula" grayed for a moment.
    Type(d.hwnd, IDC_MODE, "5");
    Type(d.hwnd, IDC_TEMKIN_LAST, "2");
    Click(d.hwnd, IDC_APPLY);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d.hwnd, IDC_APPLY)));
    EXPECT_EQ(p.app->ps.calc.temkin[Yatsi], 2);
    Pump(600);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(d.hwnd, IDC_APPLY)));

    // 90 passes; the settlement typed by hand keeps its exact hundredths.
    Type(d.hwnd, IDC_TEMKIN_LAST, "90");
    Click(d.hwnd, IDC_USE_LIST);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(d.hwnd, IDC_LATITUDE)));
    Type(d.hwnd, IDC_LATITUDE, "41.01");
    Type(d.hwnd, IDC_UTC_OFFSET, "-3.5");
    Click(d.hwnd, IDC_APPLY);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(d.hwnd, IDC_APPLY)));
    EXPECT_EQ(p.app->ps.calc.mode, 5);
    EXPECT_EQ(p.app->ps.calc.temkin[Yatsi], 90);
    EXPECT_EQ(p.app->ps.location.latitude, 4101);
    EXPECT_EQ(p.app->ps.location.utcOffset, -210);
    EXPECT_EQ(Shown(d.hwnd, IDC_LATITUDE), "41.01");
    EXPECT_EQ(Shown(d.hwnd, IDC_UTC_OFFSET), "-3.50");
}

TEST(CalcParamsDialogWin32, WheelStepsTheDateInTheFocusedField) {
    SKIP_WITHOUT_DISPLAY();
    DialogProgram p;
    DialogWindow d(p.Open(kCalcParamsDialogName, CalcParamsDialogProc, p.app.get()));
    ASSERT_NE(d.hwnd, nullptr);
    SetFocus(GetDlgItem(d.hwnd, IDC_WORK_DATE));
    if (GetFocus() != GetDlgItem(d.hwnd, IDC_WORK_DATE))
        GTEST_SKIP() << "no focus without a desktop";
    SendMessageW(d.hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(Shown(d.hwnd, IDC_WORK_DATE), "17/06/2024");
    EXPECT_EQ(p.app->ps.ticksToNextRun, 2);
}

TEST(OptionsDialogWin32, MinuteFieldRefusedThenSaved) {
    SKIP_WITHOUT_DISPLAY();
    DialogProgram p;
    // No salâ option, so no download is offered.
    p.app->ps.options.fridaySala = false;
    p.app->ps.options.sahurSala = false;
    p.app->ps.options.reminderSala = false;
    DialogWindow d(p.Open(kOptionsDialogName, OptionsDialogProc, p.app.get()));
    ASSERT_NE(d.hwnd, nullptr);
    EXPECT_EQ(IsDlgButtonChecked(d.hwnd, IDC_MORNING_AT_SUNRISE), BST_CHECKED);
    Click(d.hwnd, IDC_MORNING_AT_IMSAK);
    EXPECT_EQ(IsDlgButtonChecked(d.hwnd, IDC_MORNING_AT_SUNRISE), BST_UNCHECKED);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d.hwnd, IDC_MORNING_LEAD)));

    Type(d.hwnd, IDC_FRIDAY_SALA_LEAD, "121");
    Click(d.hwnd, IDC_OK_BUTTON);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d.hwnd, IDC_OK_BUTTON)));
    Pump(600);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(d.hwnd, IDC_OK_BUTTON)));
    Type(d.hwnd, IDC_FRIDAY_SALA_LEAD, "120");
    Click(d.hwnd, IDC_OK_BUTTON);
    EXPECT_FALSE(IsWindowVisible(d.hwnd));
    EXPECT_EQ(p.app->ps.options.fridaySalaLead, 120);
    EXPECT_TRUE(p.app->ps.options.morningAdhanAtImsak);
}

TEST(TimesDialogWin32, FillsAndKeepsItsWidthAcrossOpenings) {
    SKIP_WITHOUT_DISPLAY();
    DialogProgram p;
    {
        DialogWindow d(p.Open(kTimesDialogName, TimesDialogProc, p.app.get()));
        ASSERT_NE(d.hwnd, nullptr);
        EXPECT_EQ(OpenTimesDialogWindow(), d.hwnd);
        EXPECT_EQ(Shown(d.hwnd, IDC_TIME_FIRST + 4), "13:12");
        EXPECT_EQ(Narrow(TextOf(d.hwnd)).rfind(p.app->ps.location.city, 0), 0u);
        EXPECT_EQ(Shown(d.hwnd, IDC_WIDEN), TimesDialogWide() ? "<<" : ">>");
        RECT narrow;
        GetWindowRect(d.hwnd, &narrow);
        const bool wasWide = TimesDialogWide();
        Click(d.hwnd, IDC_WIDEN);
        EXPECT_NE(TimesDialogWide(), wasWide);
        RECT wide;
        GetWindowRect(d.hwnd, &wide);
        EXPECT_NE(wide.right - wide.left, narrow.right - narrow.left);

        // The scheduler's refresh follows the working date.
        p.app->ps.workTime.day = 17;
        RefreshTimesDialogWindow(*p.app);
        EXPECT_EQ(Shown(d.hwnd, IDC_CALENDAR).rfind("17 Haziran 2024", 0), 0u);
        if (!wasWide) Click(d.hwnd, IDC_WIDEN);
    }
    EXPECT_EQ(OpenTimesDialogWindow(), nullptr);
}

TEST(TimesDialogWin32, NarrowSizeShowsTheTimesWhole) {
    SKIP_WITHOUT_DISPLAY();
    DialogProgram p;
    DialogWindow d(p.Open(kTimesDialogName, TimesDialogProc, p.app.get()));
    ASSERT_NE(d.hwnd, nullptr);
    if (TimesDialogWide()) Click(d.hwnd, IDC_WIDEN);
    RECT client;
    GetClientRect(d.hwnd, &client);
    for (int id : {IDC_TIME_FIRST, IDC_TIME_LAST, IDC_WIDEN, IDC_OK_BUTTON}) {
        const RECT r = RectInDialog(d.hwnd, GetDlgItem(d.hwnd, id));
        EXPECT_LE(r.right, client.right) << id;
        EXPECT_LE(r.bottom, client.bottom) << id;
    }
    // Nothing of the wide part peeks into the narrow window.
    for (int id : {IDC_QIBLA, IDC_CALENDAR, IDC_MAG_DECLINATION}) {
        const RECT r = RectInDialog(d.hwnd, GetDlgItem(d.hwnd, id));
        EXPECT_TRUE(r.left >= client.right || r.top >= client.bottom) << id;
    }
}

TEST(TallyDialogWin32, CountsDownAndSavesOnClose) {
    SKIP_WITHOUT_DISPLAY();
    DialogProgram p;
    {
        IniFileEdit edit(p.app->paths.ini);
        edit.SetInt(kOptionsSection, "Çetele-2 Değeri", 10);
        edit.SetInt(kOptionsSection, "Çetele-2 Eklenecek", -3);
        ASSERT_TRUE(edit.Commit());
    }
    TallyDialogRequest request{p.app.get(), 1};
    DialogWindow d(p.Open(kTallyDialogName, TallyDialogProc, &request));
    ASSERT_NE(d.hwnd, nullptr);
    EXPECT_EQ(Shown(d.hwnd, IDC_TALLY_VALUE), "10");
    Click(d.hwnd, IDC_TALLY_ADD);
    Click(d.hwnd, IDC_TALLY_ADD);
    EXPECT_EQ(Shown(d.hwnd, IDC_TALLY_VALUE), "4");
    SendMessageW(d.hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);  // Escape
    EXPECT_TRUE(IsWindowVisible(d.hwnd));
    Type(d.hwnd, IDC_TALLY_NAME, "Tesbih");
    Click(d.hwnd, IDC_OK_BUTTON);
    EXPECT_FALSE(IsWindowVisible(d.hwnd));

    IniDocument doc;
    LoadIniFile(p.app->paths.ini, &doc);
    EXPECT_EQ(doc.GetString(kOptionsSection, "Çetele-2 Adı", "?"), "Tesbih");
    EXPECT_EQ(doc.GetInt(kOptionsSection, "Çetele-2 Değeri", 0), 4);
    EXPECT_EQ(doc.GetInt(kOptionsSection, "Çetele-2 Eklenecek", 0), -3);
}

TEST(ReminderDialogWin32, ShowsTheTextAndTheButtonFromTheIni) {
    SKIP_WITHOUT_DISPLAY();
    DialogProgram p;
    ReminderDialogRequest request{p.app.get(),
                                  "AKŞAM vaktinin çıkmasına 20 dakika kaldı!\n\nLütfen "
                                  "namazınızı kılınız...",
                                  "Tamam", "Buton metnini INI dosyasından değiştirebilirsiniz."};
    DialogWindow d(p.Open(kReminderDialogName, ReminderDialogProc, &request));
    ASSERT_NE(d.hwnd, nullptr);
    EXPECT_EQ(Narrow(TextOf(d.hwnd)), "Miravel");
    EXPECT_EQ(Shown(d.hwnd, IDC_OK_BUTTON), "Tamam");
    EXPECT_EQ(Shown(d.hwnd, IDC_REMINDER_TEXT), request.text);
    EXPECT_NE(GetWindowLongW(d.hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(GetWindowLongW(d.hwnd, GWL_STYLE) & WS_SYSMENU, 0);  // no close box
    ExpectTextFits(GetDlgItem(d.hwnd, IDC_REMINDER_TEXT));
}

TEST(AboutDialogWin32, TextFitsAndMailNeedsAnAddress) {
    SKIP_WITHOUT_DISPLAY();
    DialogProgram p;
    DialogWindow d(p.Open(kAboutDialogName, AboutDialogProc, p.app.get()));
    ASSERT_NE(d.hwnd, nullptr);
    EXPECT_NE(Shown(d.hwnd, IDC_ABOUT_TEXT).find("GPL"), std::string::npos);
    ExpectTextFits(GetDlgItem(d.hwnd, IDC_ABOUT_TEXT));
}

// The place picker over the shipped list: the current row selected at
// first, typing narrows, "Seç" (Enter) picks the selection, and nothing is
// picked when nothing matches.
struct PickerDialog {
    PlacePicker picker{
        ReadSettlementRows(std::filesystem::path(MIRAVEL_SOURCE_DIR) / "data" / "miravel.csv")};
    PlaceDialogRequest request{&picker, "miravel.csv", 34, 0, {}};
    // The picker on the screen, not yet answered.
    HWND Open() {
        HWND hwnd = CreateDialogParamW(GetModuleHandleW(nullptr), kPlaceDialogName, nullptr,
                                       PlacePickerDialogProc, reinterpret_cast<LPARAM>(&request));
        if (hwnd != nullptr) ShowWindow(hwnd, SW_SHOWNA);
        return hwnd;
    }
};

// Each picker test starts with the picker open on the screen.
class PlacePickerDialogWin32 : public ::testing::Test {
  protected:
    void SetUp() override {
        SKIP_WITHOUT_DISPLAY();
        d.hwnd = p.Open();
        ASSERT_NE(d.hwnd, nullptr);
    }
    PickerDialog p;
    DialogWindow d{nullptr};
};

int ListCount(HWND dialog) {
    return static_cast<int>(SendDlgItemMessageW(dialog, IDC_PLACE_LIST, LVM_GETITEMCOUNT, 0, 0));
}

int ListSelection(HWND dialog) {
    return static_cast<int>(SendDlgItemMessageW(dialog, IDC_PLACE_LIST, LVM_GETNEXTITEM,
                                                static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::string ListCell(HWND dialog, int item, int column) {
    wchar_t text[64] = L"";
    LVITEMW lv = {};
    lv.iSubItem = column;
    lv.pszText = text;
    lv.cchTextMax = 64;
    SendDlgItemMessageW(dialog, IDC_PLACE_LIST, LVM_GETITEMTEXTW, static_cast<WPARAM>(item),
                        reinterpret_cast<LPARAM>(&lv));
    return Narrow(text);
}

TEST_F(PlacePickerDialogWin32, TypingNarrowsAndEnterPicks) {
    EXPECT_EQ(static_cast<size_t>(ListCount(d.hwnd)), p.picker.Total());
    EXPECT_EQ(ListSelection(d.hwnd), 33);  // row 34, where the dialog stood
    EXPECT_EQ(ListCell(d.hwnd, 33, 1), "İstanbul");
    EXPECT_EQ(
        Narrow(TextOf(GetDlgItem(d.hwnd, IDC_PLACE_STATUS))),
        std::to_string(p.picker.Total()) + " / " + std::to_string(p.picker.Total()) + " yerleşim");

    Type(d.hwnd, IDC_PLACE_SEARCH, "cankaya");
    ASSERT_EQ(ListCount(d.hwnd), 1);
    EXPECT_EQ(ListSelection(d.hwnd), 0);
    EXPECT_EQ(ListCell(d.hwnd, 0, 1), "Çankaya");
    EXPECT_EQ(ListCell(d.hwnd, 0, 2), "Ankara");
    EXPECT_EQ(ListCell(d.hwnd, 0, 3), "39.91");
    EXPECT_EQ(ListCell(d.hwnd, 0, 5), "3.00");

    // Nothing matches: Enter picks nothing and the picker stays open.
    Type(d.hwnd, IDC_PLACE_SEARCH, "qqqq");
    EXPECT_EQ(ListCount(d.hwnd), 0);
    Click(d.hwnd, IDC_OK_BUTTON);
    EXPECT_TRUE(IsWindowVisible(d.hwnd));
    EXPECT_EQ(p.request.picked, 0);

    Type(d.hwnd, IDC_PLACE_SEARCH, "ÇANKAYA");
    ASSERT_EQ(ListCount(d.hwnd), 1);
    Click(d.hwnd, IDC_OK_BUTTON);
    EXPECT_FALSE(IsWindowVisible(d.hwnd));
    EXPECT_EQ(p.request.picked, p.picker.Shown(0).row);
    EXPECT_STREQ(p.picker.Shown(0).place.city, "Çankaya");
}

TEST_F(PlacePickerDialogWin32, EscapeCancelsWithoutAPick) {
    Type(d.hwnd, IDC_PLACE_SEARCH, "istanbul");
    EXPECT_GT(ListCount(d.hwnd), 30);
    SendMessageW(d.hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_FALSE(IsWindowVisible(d.hwnd));
    EXPECT_EQ(p.request.picked, 0);
}

TEST_F(PlacePickerDialogWin32, DoubleClickPicksTheLineClicked) {
    Type(d.hwnd, IDC_PLACE_SEARCH, "ankara");
    ASSERT_GT(ListCount(d.hwnd), 2);
    NMITEMACTIVATE click = {};
    click.hdr.hwndFrom = GetDlgItem(d.hwnd, IDC_PLACE_LIST);
    click.hdr.idFrom = IDC_PLACE_LIST;
    click.hdr.code = NM_DBLCLK;
    click.iItem = -1;  // beside the lines: nothing happens
    SendMessageW(d.hwnd, WM_NOTIFY, IDC_PLACE_LIST, reinterpret_cast<LPARAM>(&click));
    EXPECT_TRUE(IsWindowVisible(d.hwnd));
    click.iItem = 2;
    SendMessageW(d.hwnd, WM_NOTIFY, IDC_PLACE_LIST, reinterpret_cast<LPARAM>(&click));
    EXPECT_FALSE(IsWindowVisible(d.hwnd));
    EXPECT_EQ(p.request.picked, p.picker.Shown(2).row);
    EXPECT_EQ(ListCell(d.hwnd, 2, 0), std::to_string(p.request.picked));
}

// Not a test: shows one dialog as the program would, for a screenshot.
//   MIRAVEL_SHOW_DIALOG=AstroDlg|SettingsDlg|VakitDlg|VakitDlgWide|RemindDlg|
//   TallyDlg|AboutDlg|PlaceDlg, MIRAVEL_SHOW_SECONDS (default 5).
TEST(DialogShow, DISABLED_OneDialogForAScreenshot) {
    const char* which = std::getenv("MIRAVEL_SHOW_DIALOG");
    if (which == nullptr) GTEST_SKIP();
    const char* seconds = std::getenv("MIRAVEL_SHOW_SECONDS");
    DialogProgram p;
    ReminderDialogRequest reminder{p.app.get(),
                                   "ASR-I SANİ vaktinin çıkmasına 60 dakika kaldı!\n\nLütfen "
                                   "namazınızı kılınız...",
                                   "VALLAHİ  KILDIM..!",
                                   "Buton metnini INI dosyasından değiştirebilirsiniz."};
    TallyDialogRequest tally{p.app.get(), 0};
    PickerDialog picker;
    const std::string name = which;
    HWND hwnd = nullptr;
    if (name == "AstroDlg") {
        hwnd = p.Open(kCalcParamsDialogName, CalcParamsDialogProc, p.app.get());
    } else if (name == "SettingsDlg") {
        hwnd = p.Open(kOptionsDialogName, OptionsDialogProc, p.app.get());
    } else if (name == "VakitDlg" || name == "VakitDlgWide") {
        hwnd = p.Open(kTimesDialogName, TimesDialogProc, p.app.get());
        if (TimesDialogWide() != (name == "VakitDlgWide")) Click(hwnd, IDC_WIDEN);
    } else if (name == "RemindDlg") {
        hwnd = p.Open(kReminderDialogName, ReminderDialogProc, &reminder);
    } else if (name == "TallyDlg") {
        hwnd = p.Open(kTallyDialogName, TallyDialogProc, &tally);
    } else if (name == "AboutDlg") {
        p.app->icon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
        hwnd = p.Open(kAboutDialogName, AboutDialogProc, p.app.get());
    } else if (name == "PlaceDlg") {
        hwnd = p.Open(kPlaceDialogName, PlacePickerDialogProc, &picker.request);
        if (hwnd != nullptr) Type(hwnd, IDC_PLACE_SEARCH, "ankara");
    }
    ASSERT_NE(hwnd, nullptr) << name;
    DialogWindow d(hwnd);
    ShowWindow(hwnd, SW_SHOW);
    RECT r;
    GetWindowRect(hwnd, &r);
    std::printf("window %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    std::fflush(stdout);
    Pump(static_cast<DWORD>((seconds != nullptr ? std::atoi(seconds) : 5) * 1000));
}

}  // namespace
}  // namespace miravel

#endif  // _WIN32
