// miravel-graphics-driver: drives the charts and the wallpaper of a running
// miravel.exe from outside and reports what the desktop shows.
//
//   command N      sends menu command N to the main window and waits for it
//   ready          exit 0 once the main and the graph window exist
//   graph          exit 0 when the graph window is visible, 1 when hidden
//   key            presses Escape on the graph window, as the user would
//   click          clicks the graph window
//   desktop        prints the desktop's colour and wallpaper values, one line
//   quit           asks the program to end (menu "Çıkış")
#include <windows.h>

#include <cstdio>
#include <string>

#include "../lib/driver_text.h"

namespace {

HWND MainWindow() {
    return FindWindowW(L"Miravel", nullptr);
}

HWND GraphWindow() {
    return FindWindowW(L"MiravelGraph", nullptr);
}

std::string DesktopValue(const wchar_t* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\desktop", 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return "<no key>";
    }
    wchar_t text[1024] = {};
    DWORD bytes = sizeof text - sizeof(wchar_t), type = 0;
    const LONG result =
        RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &bytes);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return "<missing>";
    return "\"" + Utf8(text) + "\"";
}

int Command(int command) {
    const HWND main = MainWindow();
    if (main == nullptr) {
        std::puts("no main window");
        return 1;
    }
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(main, WM_COMMAND, static_cast<WPARAM>(command), 0, SMTO_NORMAL, 20000,
                             &result)) {
        std::puts("timed out");
        return 1;
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::puts("usage: miravel-graphics-driver command N|ready|graph|key|click|desktop|quit");
        return 2;
    }
    const std::wstring verb = argv[1];
    if (verb == L"command" && argc >= 3) return Command(_wtoi(argv[2]));
    if (verb == L"quit") return Command(1069);
    if (verb == L"ready") return MainWindow() != nullptr && GraphWindow() != nullptr ? 0 : 1;
    if (verb == L"graph") {
        const HWND graph = GraphWindow();
        const bool visible = graph != nullptr && IsWindowVisible(graph);
        std::puts(visible ? "graph window shown" : "graph window hidden");
        return visible ? 0 : 1;
    }
    if (verb == L"key" || verb == L"click") {
        const HWND graph = GraphWindow();
        if (graph == nullptr) return 1;
        if (verb == L"key") {
            SendMessageW(graph, WM_KEYDOWN, VK_ESCAPE, 1);
        } else {
            SendMessageW(graph, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
        }
        return 0;
    }
    if (verb == L"desktop") {
        const COLORREF c = GetSysColor(COLOR_BACKGROUND);
        std::printf("background=%u,%u,%u TileWallpaper=%s WallPaperStyle=%s Wallpaper=%s\n",
                    GetRValue(c), GetGValue(c), GetBValue(c),
                    DesktopValue(L"TileWallpaper").c_str(), DesktopValue(L"WallPaperStyle").c_str(),
                    DesktopValue(L"Wallpaper").c_str());
        return 0;
    }
    std::puts("unknown verb");
    return 2;
}
