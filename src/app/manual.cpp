#include "app/manual.h"

namespace miravel {

std::array<std::filesystem::path, 2> ManualFiles(const std::filesystem::path& base) {
    return {std::filesystem::path(base).concat(".rtf"),
            std::filesystem::path(base).concat(".html")};
}

bool ManualAvailable(DocumentShell& shell, const std::array<std::filesystem::path, 2>& files) {
    for (const std::filesystem::path& f : files) {
        if (shell.Exists(f)) return true;
    }
    return false;
}

std::filesystem::path OpenManual(DocumentShell& shell,
                                 const std::array<std::filesystem::path, 2>& files) {
    for (const std::filesystem::path& f : files) {
        if (shell.Exists(f) && shell.Open(f)) return f;
    }
    return {};
}

}  // namespace miravel
