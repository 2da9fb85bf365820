#include <cstdio>
#include <string>
#include <system_error>

#include "cli/console.h"
#include "config/codepage.h"

namespace miravel::cli {

void PrepareConsole() {}

void PrintText(std::string_view cp1254) {
    const std::string utf8 = Cp1254ToUtf8(cp1254);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
}

void PrintUtf8(std::string_view utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
}

void PrintError(std::string_view cp1254) {
    const std::string utf8 = Cp1254ToUtf8(cp1254);
    std::fprintf(stderr, "miravel-cli: %s\n", utf8.c_str());
}

std::filesystem::path ProgramFolder() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : self.parent_path();
}

}  // namespace miravel::cli
