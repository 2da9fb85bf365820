// miravel-page-viewer: the program a test registers for a document type in
// its Wine prefix, standing in for a browser or word processor. It appends
// the show state and the path it was given to viewer.log beside itself and shows the document's
// text (markup left out) in a window titled "Görüntüleyici - <file name>",
// in the show state the shell asked for.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::wstring FromUtf8(const std::string& bytes) {
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(n > 0 ? n : 0, L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(),
                            n);
    return out;
}

// The page's text: from <body> on, tags dropped, lines for block ends.
std::wstring Text(const std::wstring& page) {
    size_t start = page.find(L"<body>");
    start = start == std::wstring::npos ? 0 : start + 6;
    std::wstring out;
    bool inTag = false;
    for (size_t i = start; i < page.size(); ++i) {
        const wchar_t c = page[i];
        if (c == L'<') {
            inTag = true;
            if (page.compare(i, 3, L"</p") == 0 || page.compare(i, 4, L"</h1") == 0 ||
                page.compare(i, 4, L"</h2") == 0 || page.compare(i, 4, L"</li") == 0) {
                out += L"\r\n\r\n";
            }
        } else if (c == L'>') {
            inTag = false;
        } else if (!inTag) {
            if (c == L'\n') {
                out += L"\r\n";
            } else if (c != L'\r') {
                out += c;
            }
        }
    }
    return out;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE: {
            HWND edit = GetWindow(hwnd, GW_CHILD);
            if (edit) MoveWindow(edit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    wchar_t self[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring log(self, n);
    log = log.substr(0, log.find_last_of(L'\\') + 1) + L"viewer.log";
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    GetStartupInfoW(&si);
    const int show = (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : SW_SHOWNORMAL;
    // One line a document: the show state (3: maximised), a space, the path.
    const std::wstring path = argv[1];
    const int size = WideCharToMultiByte(CP_UTF8, 0, path.data(), static_cast<int>(path.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string utf8(size > 0 ? size : 0, '\0');
    if (size > 0) {
        WideCharToMultiByte(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), utf8.data(),
                            size, nullptr, nullptr);
    }
    if (FILE* f = _wfopen(log.c_str(), L"ab")) {
        std::fprintf(f, "%d %s\n", show, utf8.c_str());
        std::fclose(f);
    }

    std::ifstream in(argv[1], std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::wstring name =
        std::wstring(argv[1]).substr(std::wstring(argv[1]).find_last_of(L"\\/") + 1);

    WNDCLASSW wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MiravelPageViewer";
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    RegisterClassW(&wc);
    const std::wstring title = L"G\u00f6r\u00fcnt\u00fcleyici - " + name;
    HWND hwnd = CreateWindowW(wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, 800, 600, nullptr, nullptr, wc.hInstance, nullptr);
    HWND edit = CreateWindowW(L"EDIT", Text(FromUtf8(bytes)).c_str(),
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY, 0, 0,
                              800, 600, hwnd, nullptr, wc.hInstance, nullptr);
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    ShowWindow(hwnd, show);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
