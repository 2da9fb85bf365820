// The desktop wallpaper on Windows: the desktop colour, the wallpaper values
// of "Control Panel\desktop" and the system's wallpaper itself.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/win32/app_win32.h"
#include "app/win32/graph_window_win32.h"
#include "graphics/bmp.h"
#include "graphics/wallpaper.h"

namespace miravel {

namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\desktop";
constexpr wchar_t kTileValue[] = L"TileWallpaper";
constexpr wchar_t kStyleValue[] = L"WallPaperStyle";
constexpr wchar_t kWallpaperValue[] = L"Wallpaper";
constexpr DWORD kWallpaperSettleMs = 500;

// The desktop as the user had it before the first switch-on. A value that
// was missing stays missing when it is put back.
struct SavedDesktop {
    bool saved = false;
    COLORREF background = 0;
    std::optional<std::wstring> tile;
    std::optional<std::wstring> style;
};
SavedDesktop savedDesktop;

class DesktopKey {
  public:
    DesktopKey() {
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                          &key_) != ERROR_SUCCESS) {
            key_ = nullptr;
        }
    }
    ~DesktopKey() {
        if (key_ != nullptr) RegCloseKey(key_);
    }
    DesktopKey(const DesktopKey&) = delete;
    DesktopKey& operator=(const DesktopKey&) = delete;

    std::optional<std::wstring> Read(const wchar_t* name) const {
        if (key_ == nullptr) return std::nullopt;
        DWORD type = 0, bytes = 0;
        if (RegQueryValueExW(key_, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ)) {
            return std::nullopt;
        }
        std::vector<wchar_t> text(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        if (RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                             &bytes) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        text.back() = L'\0';
        return std::wstring(text.data());
    }

    void Write(const wchar_t* name, const std::optional<std::wstring>& value) const {
        if (key_ == nullptr) return;
        if (!value) {
            RegDeleteValueW(key_, name);
            return;
        }
        RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                       static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t)));
    }

  private:
    HKEY key_ = nullptr;
};

void SetBackgroundColor(COLORREF color) {
    const INT element = COLOR_BACKGROUND;
    SetSysColors(1, &element, &color);
}

bool WriteFileBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (f == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && written;
}

class WallpaperDesktopWin32 final : public WallpaperDesktop {
  public:
    explicit WallpaperDesktopWin32(App& app) : app_(app) {}

    void SetMenuChecked(int command, bool checked) override {
        app_.commands.SetMenuChecked(command, checked);
    }

    void SaveDesktopState() override {
        const DesktopKey key;
        savedDesktop.saved = true;
        savedDesktop.background = GetSysColor(COLOR_BACKGROUND);
        savedDesktop.tile = key.Read(kTileValue);
        savedDesktop.style = key.Read(kStyleValue);
    }

    void RestoreDesktop() override {
        if (savedDesktop.saved) SetBackgroundColor(savedDesktop.background);
        // Our pictures never reach the user's profile, so its wallpaper value
        // still names the user's own picture (empty for none).
        const std::optional<std::wstring> own = DesktopKey().Read(kWallpaperValue);
        std::wstring path = own.value_or(L"");
        SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path.data(), 0);
    }

    bool GraphWindowVisible() override {
        return app_.graphWindow != nullptr && IsWindowVisible(app_.graphWindow);
    }

    void SetBackgroundBlack() override { SetBackgroundColor(RGB(0, 0, 0)); }

    bool InstallWallpaper(const SkyPicture& picture) override {
        const std::filesystem::path file = app_.paths.directory / L"wall.bmp";
        if (!WriteFileBytes(
                file, EncodeWallBmp(picture.image, picture.xPelsPerMeter, picture.yPelsPerMeter))) {
            return false;
        }
        const DesktopKey key;
        key.Write(kTileValue, std::wstring(L"0"));
        key.Write(kStyleValue, std::wstring(L"0"));
        std::wstring path = file.wstring();
        SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path.data(), 0);
        Sleep(kWallpaperSettleMs);
        DeleteFileW(file.c_str());
        if (savedDesktop.saved) {
            key.Write(kTileValue, savedDesktop.tile);
            key.Write(kStyleValue, savedDesktop.style);
        }
        return true;
    }

  private:
    App& app_;
};

}  // namespace

void CommandTargetWin32::SetWallpaperMode(int mode) {
    WallpaperDesktopWin32 desktop(app_);
    miravel::SetWallpaperMode(app_.ps, app_.paths.ini, mode, GraphicsSources(app_), desktop);
}

void SchedulerEffectsWin32::RefreshWallpaper() {
    WallpaperDesktopWin32 desktop(app_);
    miravel::RefreshWallpaper(app_.ps, GraphicsSources(app_), desktop);
}

void RestoreDesktopAtExit(App& app) {
    WallpaperDesktopWin32 desktop(app);
    RestoreWallpaperAtExit(app.ps, desktop);
}

}  // namespace miravel
