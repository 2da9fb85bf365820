// Autostart through the value "Miravel" under the current user's Run key.
#include <windows.h>

#include <string>

#include "config/autostart.h"

namespace miravel {

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class RegistryAutostart final : public Autostart {
  public:
    explicit RegistryAutostart(std::wstring valueName) : valueName_(std::move(valueName)) {}

    bool IsRegistered() override {
        HKEY key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
            return false;
        }
        const LONG r =
            RegQueryValueExW(key, valueName_.c_str(), nullptr, nullptr, nullptr, nullptr);
        RegCloseKey(key);
        return r == ERROR_SUCCESS;
    }

    bool Register(const std::filesystem::path& programPath) override {
        std::filesystem::path exe = programPath;
        exe.replace_extension(L".exe");
        std::wstring command = exe.wstring();
        // Unquoted, a path with blanks would let "C:\Program.exe" run in its place.
        if (command.find(L' ') != std::wstring::npos) command = L"\"" + command + L"\"";

        HKEY key;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr) != ERROR_SUCCESS) {
            return false;
        }
        const DWORD bytes = static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t));
        const LONG r = RegSetValueExW(key, valueName_.c_str(), 0, REG_SZ,
                                      reinterpret_cast<const BYTE*>(command.c_str()), bytes);
        RegCloseKey(key);
        return r == ERROR_SUCCESS;
    }

    bool Unregister() override {
        HKEY key;
        const LONG open = RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &key);
        if (open == ERROR_FILE_NOT_FOUND) return true;
        if (open != ERROR_SUCCESS) return false;
        const LONG r = RegDeleteValueW(key, valueName_.c_str());
        RegCloseKey(key);
        return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND;
    }

  private:
    std::wstring valueName_;
};

}  // namespace

std::unique_ptr<Autostart> MakeRegistryAutostart(const wchar_t* valueName) {
    return std::make_unique<RegistryAutostart>(valueName);
}

std::unique_ptr<Autostart> MakeSystemAutostart() {
    return MakeRegistryAutostart(L"Miravel");
}

}  // namespace miravel
