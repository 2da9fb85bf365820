// miravel-tray-driver: a small console program that drives a running
// miravel.exe from outside, the way the shell and the user do: it finds the
// window of class "Miravel", reads its title, sends it menu commands and the
// tray icon's mouse messages, looks for its message boxes and asks it to end.
// The expected texts come from the same portable code the program uses.
//
// Usage: miravel-tray-driver <verb> [arguments]; exit code 0 when the check
// holds, 1 when it fails, 2 on bad arguments. Output is UTF-8, one line.
#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <string>
#include <vector>

#include "app/day_plan.h"
#include "app/notifications.h"
#include "app/scheduler.h"
#include "config/codepage.h"
#include "config/settings.h"
#include "config/zone_offset.h"

#include "../lib/driver_text.h"

namespace miravel {
namespace {

constexpr wchar_t kMainClass[] = L"Miravel";
constexpr UINT kTrayCallback = 1026;
constexpr UINT kSendTimeoutMs = 10000;

std::wstring Wide(const std::string& cp1254) {
    const std::u16string u = Cp1254ToUtf16(cp1254);
    return std::wstring(u.begin(), u.end());
}

// Raw bytes to the standard output, so that UTF-8 reaches a pipe unchanged.
void Say(const std::string& line) {
    const std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()),
              &written, nullptr);
}

// Escapes the control characters of a box text so that it fits one line.
std::string OneLine(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'\n')
            out += L"\\n";
        else if (c == L'\t')
            out += L"\\t";
        else if (c == L'\r')
            out += L"\\r";
        else
            out += c;
    }
    return Utf8(out);
}

HWND MainWindow() {
    return FindWindowW(kMainClass, nullptr);
}

// Polls `found` every 100 ms until it answers true or `timeoutMs` passes.
template <class F>
bool WaitFor(DWORD timeoutMs, F found) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (found()) return true;
        if (GetTickCount64() >= end) return false;
        Sleep(100);
    }
}

std::wstring TextOf(HWND hwnd) {
    // WM_GETTEXT crosses the process boundary; a hung program times out.
    wchar_t buffer[2048] = L"";
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(buffer),
                             SMTO_ABORTIFHUNG, kSendTimeoutMs, &result)) {
        return L"";
    }
    return buffer;
}

DWORD ProcessOf(HWND hwnd) {
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    return process;
}

// The program's top-level windows titled "Miravel" other than the main
// window: its adhan box, notice boxes and reminder dialog.
std::vector<HWND> MiravelBoxes(HWND main) {
    struct Search {
        HWND main;
        DWORD process;
        std::vector<HWND> found;
    } search{main, ProcessOf(main), {}};
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (hwnd == s->main || ProcessOf(hwnd) != s->process) return TRUE;
            if (!IsWindowVisible(hwnd)) return TRUE;
            wchar_t title[16] = L"";
            GetWindowTextW(hwnd, title, 16);
            if (std::wcscmp(title, L"Miravel") == 0) s->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The longest static text of a dialog: a message box's message.
std::wstring BoxMessage(HWND box) {
    std::wstring best;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[32] = L"";
        GetClassNameW(child, cls, 32);
        if (_wcsicmp(cls, L"Static") != 0) continue;
        std::wstring text = TextOf(child);
        if (text.size() > best.size()) best = std::move(text);
    }
    return best;
}

class NoAutostart : public Autostart {
  public:
    bool IsRegistered() override { return false; }
    bool Register(const std::filesystem::path&) override { return false; }
    bool Unregister() override { return true; }
};

// The remaining-time text the scheduler gives for the settings of `ini` at
// this moment of the local clock.
std::wstring ExpectedTitle(const std::filesystem::path& ini) {
    ProgramState ps;
    NoAutostart autostart;
    LoadCalcParams(ps, ini);
    LoadOptions(ps, ini, autostart);
    LoadStartupSwitches(ps, ini);
    LoadAdhanFiles(ps, ini);
    ScriptedEnvironment env;
    SYSTEMTIME st;
    GetLocalTime(&st);
    env.now.year = st.wYear;
    env.now.month = st.wMonth;
    env.now.dayOfWeek = st.wDayOfWeek;
    env.now.day = st.wDay;
    env.now.hour = st.wHour;
    env.now.minute = st.wMinute;
    env.now.second = st.wSecond;
    env.zone = ReadSystemZone();
    env.lastReligiousDay = ReadLastReligiousDay(ini);
    RecordingEffects fx(ps);
    MinutePass(ps, env, fx);
    for (const EffectRecord& r : fx.records) {
        if (r.kind == EffectKind::RemainingTime) return Wide(r.text);
    }
    return L"";
}

int Usage() {
    Say("usage: miravel-tray-driver "
        "find|title|expect-title|tray|tray-delete|taskbar-created|time-bar|hot-key|display-change|"
        "command|tray-"
        "mouse|query-end|"
        "close|wait-gone|wait-adhan-box|close-boxes|answer-no|answer-yes|count-boxes|"
        "choose-adhan-file|popup-menu|menu-state|fake-shell|resume|adhan-box-once|responsive|"
        "time-change ...");
    return 2;
}

int Find(DWORD timeoutMs) {
    HWND main = nullptr;
    if (!WaitFor(timeoutMs, [&] { return (main = MainWindow()) != nullptr; })) {
        Say("no window of class Miravel");
        return 1;
    }
    Say("found, process " + std::to_string(ProcessOf(main)));
    return 0;
}

// Waits until the first pass has replaced the title "Miravel", then compares
// it with the scheduler's text for the moment. The minute may turn between
// the two readings, so a mismatch is read again until the time-out.
int ExpectTitle(const std::filesystem::path& ini, DWORD timeoutMs) {
    std::wstring title, expected;
    const bool ok = WaitFor(timeoutMs, [&] {
        HWND main = MainWindow();
        if (main == nullptr) return false;
        title = TextOf(main);
        if (title == L"Miravel") return false;
        expected = ExpectedTitle(ini);
        return title == expected;
    });
    Say(Utf8(title));
    if (!ok) Say("expected: " + Utf8(expected));
    return ok ? 0 : 1;
}

// NIM_MODIFY without flags changes nothing and succeeds only for an icon the
// notification area holds.
bool TrayIconPresent(HWND main) {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof data;
    data.hWnd = main;
    data.uID = 1;
    data.uFlags = 0;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

int Tray(const std::wstring& want) {
    HWND main = MainWindow();
    if (main == nullptr) {
        Say("no window of class Miravel");
        return 1;
    }
    const bool present = TrayIconPresent(main);
    Say(present ? "tray icon present" : "tray icon absent");
    return present == (want == L"present") ? 0 : 1;
}

// The shell lost the icon (it restarted): the icon is gone from the
// notification area and the shell announces itself with "TaskbarCreated".
int TrayDelete() {
    HWND main = MainWindow();
    if (main == nullptr) return 1;
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof data;
    data.hWnd = main;
    data.uID = 1;
    const bool deleted = Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
    Say(deleted ? "tray icon deleted" : "no tray icon to delete");
    return deleted ? 0 : 1;
}

int TaskbarCreated() {
    HWND main = MainWindow();
    if (main == nullptr) return 1;
    const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(main, message, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &result) ? 0 : 1;
}

// The time bar: the main window shown as a caption-only bar at the top left,
// 300 pixels wide, topmost; or hidden and out of the topmost band.
int TimeBar(const std::wstring& want, DWORD timeoutMs) {
    HWND main = MainWindow();
    if (main == nullptr) return 1;
    const bool shown = want == L"shown";
    const bool ok = WaitFor(timeoutMs, [&] { return (IsWindowVisible(main) != FALSE) == shown; });
    RECT r = {};
    GetWindowRect(main, &r);
    const bool topmost = (GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    Say(std::string(IsWindowVisible(main) ? "shown" : "hidden") + " at " + std::to_string(r.left) +
        "," + std::to_string(r.top) + " width " + std::to_string(r.right - r.left) +
        (topmost ? " topmost" : "") + ": " + Utf8(TextOf(main)));
    if (!ok) return 1;
    if (shown) return (r.left == 0 && r.top == 0 && r.right - r.left == 300 && topmost) ? 0 : 1;
    return topmost ? 1 : 0;
}

// The display changed: the scheduler runs a full pass at the next tick.
int DisplayChange() {
    HWND main = MainWindow();
    if (main == nullptr) return 1;
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(main, WM_DISPLAYCHANGE, 24, MAKELPARAM(1024, 768), SMTO_NORMAL,
                               kSendTimeoutMs, &result)
               ? 0
               : 1;
}

// The system's announcement of a new time, as a time service sends it.
int TimeChange() {
    HWND main = MainWindow();
    if (main == nullptr) return 1;
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(main, WM_TIMECHANGE, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &result) ? 0
                                                                                                : 1;
}

// The hot key Windows+A as the system delivers it.
int HotKey() {
    HWND main = MainWindow();
    if (main == nullptr) return 1;
    return PostMessageW(main, WM_HOTKEY, 9876, MAKELPARAM(MOD_WIN, 0x41)) ? 0 : 1;
}

int Command(int command) {
    HWND main = MainWindow();
    if (main == nullptr) return 1;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(main, WM_COMMAND, static_cast<WPARAM>(command), 0, SMTO_NORMAL,
                             kSendTimeoutMs, &result)) {
        Say("WM_COMMAND " + std::to_string(command) + " timed out");
        return 1;
    }
    Say("WM_COMMAND " + std::to_string(command) + " -> " + std::to_string(result));
    return result == 0 ? 0 : 1;
}

// Sends WM_NULL to the main window every 50 ms for `durationMs`; each must
// be answered within `limitMs`, as a window that does not hang answers.
int Responsive(DWORD durationMs, DWORD limitMs) {
    HWND main = MainWindow();
    if (main == nullptr) return 1;
    const ULONGLONG start = GetTickCount64();
    int sent = 0, late = 0;
    ULONGLONG longest = 0;
    while (GetTickCount64() - start < durationMs) {
        const ULONGLONG before = GetTickCount64();
        DWORD_PTR result = 0;
        ++sent;
        if (!SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, limitMs, &result)) ++late;
        longest = std::max(longest, GetTickCount64() - before);
        Sleep(50);
    }
    Say("sent " + std::to_string(sent) + ", late " + std::to_string(late) + ", longest " +
        std::to_string(longest) + " ms");
    return sent > 0 && late == 0 ? 0 : 1;
}

// Posted, as the shell does: the right button's menu runs a loop of its own.
// Several messages go out at once, as a double click's do.
int TrayMouse(const std::vector<unsigned>& mouseMessages) {
    HWND main = MainWindow();
    if (main == nullptr) return 1;
    for (unsigned m : mouseMessages) {
        if (!PostMessageW(main, kTrayCallback, 1, static_cast<LPARAM>(m))) return 1;
    }
    return 0;
}

int QueryEnd() {
    HWND main = MainWindow();
    if (main == nullptr) return 1;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, kSendTimeoutMs,
                             &result)) {
        Say("WM_QUERYENDSESSION timed out");
        return 1;
    }
    Say("WM_QUERYENDSESSION -> " + std::to_string(result));
    return result == 1 ? 0 : 1;
}

int Close() {
    HWND main = MainWindow();
    if (main == nullptr) return 1;
    return PostMessageW(main, WM_CLOSE, 0, 0) ? 0 : 1;
}

int WaitGone(DWORD timeoutMs) {
    if (!WaitFor(timeoutMs, [] { return MainWindow() == nullptr; })) {
        Say("the window of class Miravel is still there");
        return 1;
    }
    Say("gone");
    return 0;
}

// The adhan box of `slot`: a visible window of the program titled "Miravel",
// owned by the main window, topmost (system-modal), whose message is the
// adhan text with the dua for the slot's name.
int WaitAdhanBox(int slot, DWORD timeoutMs) {
    HWND main = nullptr;
    std::vector<HWND> boxes;
    const bool appeared = WaitFor(timeoutMs, [&] {
        main = MainWindow();
        if (main == nullptr) return false;
        boxes = MiravelBoxes(main);
        return !boxes.empty();
    });
    if (!appeared) {
        Say("no box titled Miravel appeared");
        return 1;
    }
    const HWND box = boxes.front();
    ProgramState defaults;
    char expected[1024];
    FormatAdhanBoxText(AdhanSlotName(defaults, slot), expected, sizeof expected);
    const std::wstring message = BoxMessage(box);
    const bool owned = GetWindow(box, GW_OWNER) == main;
    const bool topmost = (GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    Say("box: " + OneLine(message));
    bool ok = true;
    if (message != Wide(expected)) {
        Say("expected: " + OneLine(Wide(expected)));
        ok = false;
    }
    if (!owned) {
        Say("the box is not owned by the main window");
        ok = false;
    }
    if (!topmost) {
        Say("the box is not system-modal (topmost)");
        ok = false;
    }
    if (boxes.size() != 1) {
        Say(std::to_string(boxes.size()) + " boxes titled Miravel");
        ok = false;
    }
    return ok ? 0 : 1;
}

// Presses OK on every box titled "Miravel", as the user does.
int CloseBoxes() {
    HWND main = MainWindow();
    if (main == nullptr) return 1;
    const std::vector<HWND> boxes = MiravelBoxes(main);
    for (HWND box : boxes)
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    const bool closed = WaitFor(5000, [&] { return MiravelBoxes(main).empty(); });
    Say(std::to_string(boxes.size()) + " box(es) closed");
    return closed ? 0 : 1;
}

// A visible top-level window of `process` with exactly this title.
HWND FindDialogTitled(DWORD process, const std::wstring& title) {
    for (HWND w = GetTopWindow(nullptr); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
        if (ProcessOf(w) == process && IsWindowVisible(w) && TextOf(w) == title) return w;
    }
    return nullptr;
}

// "Ezan Dosyası Seç" for `slot` as the user does it: the menu command, the
// open-file dialog titled after the slot, `file` typed into its file name
// field, OK. With `file` "-" the dialog is only opened (or found open) and
// left on the screen.
int ChooseAdhanFile(int slot, const std::wstring& file, DWORD timeoutMs) {
    HWND main = MainWindow();
    if (main == nullptr) return 1;
    ProgramState defaults;
    char title[128];
    std::snprintf(title, sizeof title,
                  "%s ezanı dosyasını seçiniz :", AdhanSlotName(defaults, slot));
    const std::wstring wantTitle = Wide(title);
    const DWORD process = ProcessOf(main);
    HWND dialog = FindDialogTitled(process, wantTitle);
    if (dialog == nullptr) {
        // Posted: the dialog runs a modal loop inside the command.
        PostMessageW(main, WM_COMMAND, static_cast<WPARAM>(1053 + slot), 0);
        WaitFor(timeoutMs,
                [&] { return (dialog = FindDialogTitled(process, wantTitle)) != nullptr; });
    }
    if (dialog == nullptr) {
        Say("no dialog titled " + Utf8(wantTitle));
        return 1;
    }
    Say("dialog: " + Utf8(wantTitle));
    if (file == L"-") return 0;
    // The file name field: the combo box cmb13 of the explorer-style dialog,
    // or the plain edit edt1.
    HWND field = GetDlgItem(dialog, 0x47C);
    if (field == nullptr) field = GetDlgItem(dialog, 0x480);
    if (field == nullptr) {
        Say("the dialog has no file name field");
        return 1;
    }
    DWORD_PTR result = 0;
    SendMessageTimeoutW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()), SMTO_NORMAL,
                        kSendTimeoutMs, &result);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    if (!WaitFor(timeoutMs, [&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); })) {
        Say("the dialog did not close");
        return 1;
    }
    Say("chosen: " + Utf8(file));
    return 0;
}

// A popup menu on the screen (the system's menu window class).
int PopupMenu(const std::wstring& want, DWORD timeoutMs) {
    const bool open = want == L"open";
    const bool ok = WaitFor(timeoutMs, [&] {
        HWND menu = FindWindowW(L"#32768", nullptr);
        return (menu != nullptr && IsWindowVisible(menu)) == open;
    });
    Say(ok ? (open ? "menu open" : "menu closed") : "menu not as expected");
    return ok ? 0 : 1;
}

// The state of one entry of the tray menu, read through the main window's
// menu. Prints "checked", "unchecked" and "grayed" as they apply, or
// "unreadable" when the system does not hand out another process's menu.
int MenuState(int command) {
    HWND main = MainWindow();
    if (main == nullptr) return 1;
    HMENU bar = GetMenu(main);
    HMENU popup = bar != nullptr ? GetSubMenu(bar, 0) : nullptr;
    const UINT state =
        popup != nullptr ? GetMenuState(popup, static_cast<UINT>(command), MF_BYCOMMAND) : ~0u;
    if (state == ~0u) {
        Say("unreadable");
        return 3;
    }
    std::string text = (state & MF_CHECKED) ? "checked" : "unchecked";
    if (state & MF_GRAYED) text += " grayed";
    Say(text);
    return 0;
}

// The program's box titled `title`: prints its message and presses `button`
// (IDNO: "Hayır", which never changes anything; an OK box takes it as its
// close). IDYES only where the caller made sure the program cannot do harm.
int AnswerBox(const std::wstring& title, int button, DWORD timeoutMs) {
    HWND main = MainWindow();
    if (main == nullptr) return 1;
    const DWORD process = ProcessOf(main);
    HWND box = nullptr;
    if (!WaitFor(timeoutMs, [&] { return (box = FindDialogTitled(process, title)) != nullptr; })) {
        Say("no box titled " + Utf8(title));
        return 1;
    }
    Say("box: " + OneLine(BoxMessage(box)));
    PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
    if (!WaitFor(5000, [&] { return !IsWindow(box) || !IsWindowVisible(box); })) {
        Say("the box stayed");
        return 1;
    }
    return 0;
}

// A stand-in notification area, for a program started before the taskbar:
// a window of the shell's class "Shell_TrayWnd" above the real one, so that
// the icon requests of every program reach it. For the first `refuseMs` it
// refuses them all, as a shell that is not up yet; then it keeps the icons as
// the shell does (a second add of the same icon is refused) and writes each
// request and the number of icons to `logFile`. Ends after `runMs`.
struct FakeShellState {
    FILE* log = nullptr;
    ULONGLONG readyAt = 0;
    std::vector<std::pair<uint32_t, uint32_t>> icons;  // window, id
};
FakeShellState* fakeShell = nullptr;

LRESULT CALLBACK FakeShellProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COPYDATA || fakeShell == nullptr)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    static const char* const kNames[] = {"add", "modify", "delete"};
    const DWORD request = static_cast<DWORD>(data->dwData);
    const char* name = request < 3 ? kNames[request] : "other";
    BOOL result = FALSE;
    if (GetTickCount64() < fakeShell->readyAt || data->cbData < 8) {
        std::fprintf(fakeShell->log, "%s refused (not ready)", name);
    } else {
        // Wine's record begins with the owner window and the icon id.
        uint32_t owner = 0, id = 0;
        std::memcpy(&owner, data->lpData, 4);
        std::memcpy(&id, static_cast<const char*>(data->lpData) + 4, 4);
        auto& icons = fakeShell->icons;
        auto it = std::find(icons.begin(), icons.end(), std::make_pair(owner, id));
        const bool present = it != icons.end();
        if (request == NIM_ADD && !present) {
            icons.emplace_back(owner, id);
            result = TRUE;
        } else if (request == NIM_MODIFY && present) {
            result = TRUE;
        } else if (request == NIM_DELETE && present) {
            icons.erase(it);
            result = TRUE;
        }
        std::fprintf(fakeShell->log, "%s %s", name, result ? "ok" : "refused");
    }
    std::fprintf(fakeShell->log, " icons=%u\n", static_cast<unsigned>(fakeShell->icons.size()));
    std::fflush(fakeShell->log);
    return result;
}

int FakeShell(const std::wstring& logFile, DWORD refuseMs, DWORD runMs) {
    FakeShellState state;
    state.log = _wfopen(logFile.c_str(), L"w");
    if (state.log == nullptr) return 2;
    state.readyAt = GetTickCount64() + refuseMs;
    fakeShell = &state;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = FakeShellProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"Shell_TrayWnd";
    if (RegisterClassW(&wc) == 0) return 1;
    HWND tray = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"Shell_TrayWnd", L"", WS_POPUP,
                                0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
    if (tray == nullptr) return 1;
    SetWindowPos(tray, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const bool first = FindWindowExW(nullptr, nullptr, L"Shell_TrayWnd", nullptr) == tray;
    std::fprintf(state.log, "started, %s\n", first ? "first" : "not first");
    std::fflush(state.log);
    if (!first) return 1;
    SetTimer(tray, 1, runMs, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == tray) break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    std::fprintf(state.log, "ended icons=%u\n", static_cast<unsigned>(state.icons.size()));
    std::fclose(state.log);
    return 0;
}

int Resume(unsigned event) {
    HWND main = MainWindow();
    if (main == nullptr) return 1;
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(main, WM_POWERBROADCAST, event, 0, SMTO_NORMAL, kSendTimeoutMs,
                               &result)
               ? 0
               : 1;
}

// The adhan box of `slot` appears within `waitMs`; then, while the given
// resume events are sent one second apart and for `holdMs` more, that one box
// stays the only one: the adhan did not start again (a new adhan closes the
// box and opens another).
int AdhanBoxOnce(int slot, DWORD waitMs, DWORD holdMs, const std::vector<unsigned>& events) {
    const ULONGLONG start = GetTickCount64();
    HWND main = nullptr;
    std::vector<HWND> boxes;
    if (!WaitFor(waitMs, [&] {
            main = MainWindow();
            return main != nullptr && !(boxes = MiravelBoxes(main)).empty();
        })) {
        Say("no box titled Miravel appeared");
        return 1;
    }
    const HWND box = boxes.front();
    const ULONGLONG appeared = GetTickCount64() - start;
    ProgramState defaults;
    char expected[1024];
    FormatAdhanBoxText(AdhanSlotName(defaults, slot), expected, sizeof expected);
    if (BoxMessage(box) != Wide(expected)) {
        Say("box: " + OneLine(BoxMessage(box)));
        return 1;
    }
    for (unsigned event : events) {
        Sleep(1000);
        DWORD_PTR result = 0;
        SendMessageTimeoutW(main, WM_POWERBROADCAST, event, 0, SMTO_NORMAL, kSendTimeoutMs,
                            &result);
    }
    bool same = true;
    WaitFor(holdMs, [&] {
        const std::vector<HWND> now = MiravelBoxes(main);
        same = now.size() == 1 && now.front() == box;
        return !same;
    });
    Say("box after " + std::to_string(appeared) + " ms, " +
        (same ? "the same one throughout" : "replaced or doubled"));
    return same ? 0 : 1;
}

int Run(int argc, wchar_t** argv) {
    if (argc < 2) return Usage();
    const std::wstring verb = argv[1];
    auto number = [&](int i, long fallback) {
        return i < argc ? std::wcstol(argv[i], nullptr, 0) : fallback;
    };
    if (verb == L"find") return Find(static_cast<DWORD>(number(2, 30000)));
    if (verb == L"title") {
        HWND main = MainWindow();
        if (main == nullptr) return 1;
        Say(Utf8(TextOf(main)));
        return 0;
    }
    if (verb == L"expect-title" && argc >= 3)
        return ExpectTitle(argv[2], static_cast<DWORD>(number(3, 30000)));
    if (verb == L"tray" && argc >= 3) return Tray(argv[2]);
    if (verb == L"tray-delete") return TrayDelete();
    if (verb == L"time-bar" && argc >= 3)
        return TimeBar(argv[2], static_cast<DWORD>(number(3, 5000)));
    if (verb == L"hot-key") return HotKey();
    if (verb == L"display-change") return DisplayChange();
    if (verb == L"time-change") return TimeChange();
    if (verb == L"taskbar-created") return TaskbarCreated();
    if (verb == L"command" && argc >= 3) return Command(static_cast<int>(number(2, 0)));
    if (verb == L"responsive" && argc >= 3)
        return Responsive(static_cast<DWORD>(number(2, 0)), static_cast<DWORD>(number(3, 500)));
    if (verb == L"tray-mouse" && argc >= 3) {
        std::vector<unsigned> messages;
        for (int i = 2; i < argc; ++i)
            messages.push_back(static_cast<unsigned>(number(i, 0)));
        return TrayMouse(messages);
    }
    if (verb == L"query-end") return QueryEnd();
    if (verb == L"close") return Close();
    if (verb == L"wait-gone") return WaitGone(static_cast<DWORD>(number(2, 30000)));
    if (verb == L"wait-adhan-box" && argc >= 3)
        return WaitAdhanBox(static_cast<int>(number(2, 0)), static_cast<DWORD>(number(3, 90000)));
    if (verb == L"close-boxes") return CloseBoxes();
    if (verb == L"answer-no" && argc >= 3)
        return AnswerBox(argv[2], IDNO, static_cast<DWORD>(number(3, 20000)));
    if (verb == L"answer-yes" && argc >= 3)
        return AnswerBox(argv[2], IDYES, static_cast<DWORD>(number(3, 20000)));
    if (verb == L"choose-adhan-file" && argc >= 4)
        return ChooseAdhanFile(static_cast<int>(number(2, 0)), argv[3],
                               static_cast<DWORD>(number(4, 20000)));
    if (verb == L"count-boxes") {
        HWND main = MainWindow();
        if (main == nullptr) return 1;
        Say(std::to_string(MiravelBoxes(main).size()));
        return 0;
    }
    if (verb == L"popup-menu" && argc >= 3)
        return PopupMenu(argv[2], static_cast<DWORD>(number(3, 5000)));
    if (verb == L"menu-state" && argc >= 3) return MenuState(static_cast<int>(number(2, 0)));
    if (verb == L"fake-shell" && argc >= 5)
        return FakeShell(argv[2], static_cast<DWORD>(number(3, 0)),
                         static_cast<DWORD>(number(4, 60000)));
    if (verb == L"resume" && argc >= 3) return Resume(static_cast<unsigned>(number(2, 18)));
    if (verb == L"adhan-box-once" && argc >= 5) {
        std::vector<unsigned> events;
        for (int i = 5; i < argc; ++i)
            events.push_back(static_cast<unsigned>(number(i, 0)));
        return AdhanBoxOnce(static_cast<int>(number(2, 0)), static_cast<DWORD>(number(3, 0)),
                            static_cast<DWORD>(number(4, 0)), events);
    }
    return Usage();
}

}  // namespace
}  // namespace miravel

int wmain(int argc, wchar_t** argv) {
    return miravel::Run(argc, argv);
}
