// Autostart through an XDG autostart entry, which desktop sessions read at
// logon: $XDG_CONFIG_HOME/autostart/miravel.desktop (~/.config by default).
#include <cstdlib>
#include <string>
#include <system_error>

#include "config/autostart.h"
#include "config/file_access.h"
#include "config/ini_file.h"

namespace miravel {

namespace {

namespace fs = std::filesystem;

constexpr char kEntrySection[] = "Desktop Entry";

// Empty when neither variable names a usable folder.
fs::path EntryPath() {
    fs::path config;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg && fs::path(xdg).is_absolute()) {
        config = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) return {};
        config = fs::path(home) / ".config";
    }
    return config / "autostart" / "miravel.desktop";
}

// The Exec key's quoting: inside double quotes, backslash escapes " ` $ and
// itself; the desktop file's own string escaping then doubles every backslash.
std::string ExecValue(const std::string& program) {
    std::string quoted = "\"";
    for (char c : program) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    std::string value;
    for (char c : quoted) {
        if (c == '\\') value += '\\';
        if (c == '%') value += '%';
        value += c;
    }
    return value;
}

class XdgAutostart final : public Autostart {
  public:
    bool IsRegistered() override {
        const fs::path path = EntryPath();
        if (path.empty()) return false;
        std::string text;
        if (ReadWholeFile(path, &text) != FileRead::Ok) return false;
        const IniDocument entry(text);
        // A session skips entries that are hidden or switched off.
        return !entry.GetString(kEntrySection, "Exec", "").empty() &&
               entry.GetString(kEntrySection, "Hidden", "") != "true" &&
               entry.GetString(kEntrySection, "X-GNOME-Autostart-enabled", "") != "false";
    }

    bool Register(const fs::path& programPath) override {
        const fs::path path = EntryPath();
        if (path.empty() || programPath.empty()) return false;
        std::error_code ec;
        fs::create_directories(path.parent_path(), ec);
        if (ec) return false;
        const std::string program = fs::absolute(programPath, ec).string();
        if (ec) return false;
        const std::string text =
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=Miravel\n"
            "Exec=" +
            ExecValue(program) +
            "\n"
            "X-GNOME-Autostart-enabled=true\n";
        return ReplaceFileContents(path, text);
    }

    bool Unregister() override {
        const fs::path path = EntryPath();
        if (path.empty()) return true;  // no folder, so no entry either
        std::error_code ec;
        fs::remove(path, ec);
        return !ec;
    }
};

}  // namespace

std::unique_ptr<Autostart> MakeSystemAutostart() {
    return std::make_unique<XdgAutostart>();
}

}  // namespace miravel
