// miravel-dialog-driver: drives the dialogs of a running miravel.exe from
// outside: sends the main window menu commands, waits for a dialog by a part
// of its title, types into its controls and presses its buttons.
//
// Usage: miravel-dialog-driver <verb> [arguments]; exit code 0 when the step
// or check holds, 1 when it fails, 2 on bad arguments.
//   command <n>                  post menu command n to the window "Miravel"
//   wait <title part> <ms>       a dialog whose title holds the part appears
//   gone <title part> <ms>       no such dialog is left
//   set <title part> <id> <text> the control's text
//   click <title part> <id>      press the button
//   enabled <title part> <id>    prints 1 or 0
//   checked <title part> <id>    prints 1 or 0
//   text <title part> <id>       prints the control's text in UTF-8
//   count <title part> <id>      prints the number of lines of a list view
//   focus <title part>           prints the id of the control with the focus
//   timeclick <title part> <id> <other title part>
//                                press the button, wait (at most 10 s) for a
//                                dialog with the other title; prints the
//                                milliseconds it took to appear
//   refused <title part> <id>    pressing the button is refused: it grays at
//                                once and is enabled again within a second
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

struct Search {
    const wchar_t* part;
    HWND found;
};

BOOL CALLBACK Match(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    wchar_t cls[16] = L"";
    GetClassNameW(hwnd, cls, 16);
    if (std::wcscmp(cls, L"#32770") != 0 || !IsWindowVisible(hwnd)) return TRUE;
    wchar_t title[256] = L"";
    GetWindowTextW(hwnd, title, 256);
    if (std::wcsstr(title, s->part) == nullptr) return TRUE;
    s->found = hwnd;
    return FALSE;
}

HWND FindDialog(const wchar_t* part) {
    Search s{part, nullptr};
    EnumWindows(Match, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

bool WaitFor(const wchar_t* part, int ms, bool present) {
    for (int waited = 0;; waited += 100) {
        if ((FindDialog(part) != nullptr) == present) return true;
        if (waited >= ms) return false;
        Sleep(100);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    const std::wstring verb = argv[1];
    if (verb == L"command") {
        const HWND main = FindWindowW(L"Miravel", nullptr);
        if (main == nullptr) return 1;
        return PostMessageW(main, WM_COMMAND, static_cast<WPARAM>(_wtoi(argv[2])), 0) ? 0 : 1;
    }
    if ((verb == L"wait" || verb == L"gone") && argc == 4)
        return WaitFor(argv[2], _wtoi(argv[3]), verb == L"wait") ? 0 : 1;

    const HWND dialog = FindDialog(argv[2]);
    if (dialog == nullptr) return 1;
    if (verb == L"focus") {
        // The focus of another thread's window: ask that thread's input state.
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info)) return 1;
        std::printf("%d\n", info.hwndFocus != nullptr ? GetDlgCtrlID(info.hwndFocus) : 0);
        return 0;
    }
    if (argc < 4) return 1;
    const HWND control = GetDlgItem(dialog, _wtoi(argv[3]));
    if (control == nullptr) return 1;
    if (verb == L"set" && argc == 5) {
        DWORD_PTR result = 0;
        return SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4]),
                                   SMTO_ABORTIFHUNG, 5000, &result)
                   ? 0
                   : 1;
    }
    if (verb == L"timeclick" && argc == 5) {
        const DWORD start = GetTickCount();
        if (!PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(_wtoi(argv[3]), BN_CLICKED),
                          reinterpret_cast<LPARAM>(control))) {
            return 1;
        }
        while (FindDialog(argv[4]) == nullptr) {
            if (GetTickCount() - start > 10000) return 1;
            Sleep(5);
        }
        std::printf("%lu\n", static_cast<unsigned long>(GetTickCount() - start));
        return 0;
    }
    if (verb == L"click") {
        return PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(_wtoi(argv[3]), BN_CLICKED),
                            reinterpret_cast<LPARAM>(control))
                   ? 0
                   : 1;
    }
    if (verb == L"refused") {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(dialog, WM_COMMAND, MAKEWPARAM(_wtoi(argv[3]), BN_CLICKED),
                                 reinterpret_cast<LPARAM>(control), SMTO_ABORTIFHUNG, 5000,
                                 &result)) {
            return 1;
        }
        if (IsWindowEnabled(control)) return 1;
        for (int waited = 0; waited < 1000; waited += 50) {
            Sleep(50);
            if (IsWindowEnabled(control)) return 0;
        }
        return 1;
    }
    if (verb == L"checked") {
        std::printf("%d\n", SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
        return 0;
    }
    if (verb == L"count") {
        std::printf("%d\n", static_cast<int>(SendMessageW(control, LVM_GETITEMCOUNT, 0, 0)));
        return 0;
    }
    if (verb == L"text") {
        // WM_GETTEXT itself: GetWindowText does not read another program's
        // edit controls.
        wchar_t text[512] = L"";
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text),
                                 SMTO_ABORTIFHUNG, 5000, &result)) {
            return 1;
        }
        char utf8[2048] = "";
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
        std::fwrite(utf8, 1, std::strlen(utf8), stdout);
        std::fputc('\n', stdout);
        return 0;
    }
    if (verb == L"enabled") {
        std::printf("%d\n", IsWindowEnabled(control) ? 1 : 0);
        return 0;
    }
    return 2;
}
