// The MP3-to-WAV wrapper command: the common file dialogs and the boxes
// around the portable wrapping.
#include <windows.h>

#include <commdlg.h>

#include <string>

#include "app/win32/app_win32.h"
#include "base/win32/wide_text.h"
#include "sound/mp3_wav.h"

namespace miravel {

namespace {

constexpr DWORD kFileNameChars = 512;

// A filter of one entry: its name, its pattern, and the closing empty pair.
std::wstring Filter(const char* name, const wchar_t* pattern) {
    std::wstring filter = Wide(name);
    filter += L'\0';
    filter += pattern;
    filter += L'\0';
    filter += L'\0';
    return filter;
}

// The dialog record both file dialogs share: one filter, the name field, the
// title. The current directory stays where it is: the program finds its
// default sounds by relative names.
OPENFILENAMEW FileDialog(HWND owner, const std::wstring& filter, wchar_t* file,
                         const std::wstring& title, DWORD flags) {
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = kFileNameChars;
    ofn.lpstrTitle = title.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | flags;
    return ofn;
}

class Mp3DialogsWin32 final : public Mp3WavDialogs {
  public:
    explicit Mp3DialogsWin32(HWND owner) : owner_(owner) {}

    bool ChooseSource(std::filesystem::path* source) override {
        wchar_t file[kFileNameChars] = L"";
        const std::wstring filter = Filter("MP3 dosyaları", L"*.mp3");
        const std::wstring title = Wide("Dönüştürülecek MP3 dosyasını seçiniz");
        OPENFILENAMEW ofn = FileDialog(owner_, filter, file, title, OFN_FILEMUSTEXIST);
        if (!GetOpenFileNameW(&ofn)) return false;
        *source = std::filesystem::path(file);
        return true;
    }

    bool ChooseTarget(const std::filesystem::path& source, std::filesystem::path* target) override {
        // Proposed: the source's folder (no trailing backslash) and its base
        // name with "wav".
        std::wstring folder = source.parent_path().wstring();
        while (folder.size() > 1 && (folder.back() == L'\\' || folder.back() == L'/'))
            folder.pop_back();
        std::filesystem::path proposed = source.filename();
        proposed.replace_extension(L".wav");
        wchar_t file[kFileNameChars];
        CopyToField(proposed.wstring(), file, kFileNameChars);
        const std::wstring filter = Filter("WAV dosyaları", L"*.wav");
        const std::wstring title = Wide("WAV dosyası");
        OPENFILENAMEW ofn =
            FileDialog(owner_, filter, file, title, OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT);
        ofn.lpstrInitialDir = folder.c_str();
        if (!GetSaveFileNameW(&ofn)) return false;
        *target = std::filesystem::path(file);
        return true;
    }

    bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) override {
        // The names as typed, without regard to letter case, and anything
        // that reaches the same file another way (a short name, a link).
        const std::wstring wa = a.wstring(), wb = b.wstring();
        if (CompareStringOrdinal(wa.c_str(), static_cast<int>(wa.size()), wb.c_str(),
                                 static_cast<int>(wb.size()), TRUE) == CSTR_EQUAL)
            return true;
        return IsSameFile(a, b);
    }

    void Report(const std::string& text, const char* caption) override {
        MessageBoxW(nullptr, Wide(text).c_str(), Wide(caption).c_str(), MB_OK | MB_ICONWARNING);
    }

  private:
    HWND owner_;
};

}  // namespace

void CommandTargetWin32::ConvertMp3ToWav() {
    Mp3DialogsWin32 dialogs(app_.mainWindow);
    ConvertMp3ToWavWith(dialogs);
}

}  // namespace miravel
