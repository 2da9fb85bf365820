// The system's open and save dialogs for one file name, as every chooser of
// the program uses them.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include <initializer_list>
#include <string>
#include <utility>

#include "base/win32/wide_text.h"

namespace miravel {

// A dialog's file types: (name in Windows-1254, pattern) pairs.
inline std::wstring FileFilter(
    std::initializer_list<std::pair<const char*, const wchar_t*>> types) {
    std::wstring filter;
    for (const auto& [name, pattern] : types) {
        filter += Wide(name);
        filter += L'\0';
        filter += pattern;
        filter += L'\0';
    }
    filter += L'\0';
    return filter;
}

// Shows the open (or, with `save`, the save) dialog; `file` holds the
// proposed name and receives the chosen one. False when the user cancelled.
// The current directory is the same afterwards whatever the dialog did with
// it: OFN_NOCHANGEDIR does not hold for the open dialog.
inline bool ChooseFileName(HWND owner, const char* title, const std::wstring& filter, wchar_t* file,
                           DWORD size, DWORD flags, bool save = false,
                           const wchar_t* initialFolder = nullptr) {
    const std::wstring caption = Wide(title);
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = size;
    ofn.lpstrTitle = caption.c_str();
    ofn.lpstrInitialDir = initialFolder;
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | flags;

    wchar_t current[MAX_PATH];
    const DWORD kept = GetCurrentDirectoryW(MAX_PATH, current);
    const bool chosen = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (kept > 0 && kept < MAX_PATH) SetCurrentDirectoryW(current);
    return chosen;
}

}  // namespace miravel
