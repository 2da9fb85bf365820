// The MP3-to-WAV wrapper command: the common file dialogs and the boxes
// around the portable wrapping.
#include <windows.h>

#include <string>

#include "app/win32/app_win32.h"
#include "base/win32/file_dialog_win32.h"
#include "base/win32/wide_text.h"
#include "sound/mp3_wav.h"

namespace miravel {

namespace {

constexpr DWORD kFileNameChars = 512;

class Mp3DialogsWin32 final : public Mp3WavDialogs {
  public:
    explicit Mp3DialogsWin32(HWND owner) : owner_(owner) {}

    bool ChooseSource(std::filesystem::path* source) override {
        wchar_t file[kFileNameChars] = L"";
        if (!ChooseFileName(owner_, "Dönüştürülecek MP3 dosyasını seçiniz",
                            FileFilter({{"MP3 dosyaları", L"*.mp3"}}), file, kFileNameChars,
                            OFN_FILEMUSTEXIST))
            return false;
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
        if (!ChooseFileName(owner_, "WAV dosyası", FileFilter({{"WAV dosyaları", L"*.wav"}}), file,
                            kFileNameChars, OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT, true,
                            folder.c_str()))
            return false;
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
