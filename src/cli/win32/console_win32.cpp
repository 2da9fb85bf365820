#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "cli/console.h"
#include "config/codepage.h"

namespace miravel::cli {

namespace {

// To a real console: UTF-16 through WriteConsoleW, whatever its code page.
// To a pipe or file: the console's output code page, as other programs do.
void Write(FILE* stream, DWORD handleId, std::string_view cp1254) {
    HANDLE handle = GetStdHandle(handleId);
    DWORD mode = 0;
    const std::u16string wide = Cp1254ToUtf16(cp1254);
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        std::fflush(stream);
        DWORD written = 0;
        WriteConsoleW(handle, reinterpret_cast<const wchar_t*>(wide.data()),
                      static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    UINT codePage = GetConsoleOutputCP();
    if (codePage == 0) codePage = CP_UTF8;
    const int size =
        WideCharToMultiByte(codePage, 0, reinterpret_cast<const wchar_t*>(wide.data()),
                            static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(size > 0 ? size : 0, '\0');
    if (size > 0) {
        WideCharToMultiByte(codePage, 0, reinterpret_cast<const wchar_t*>(wide.data()),
                            static_cast<int>(wide.size()), bytes.data(), size, nullptr, nullptr);
    }
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
}

}  // namespace

void PrepareConsole() {
    // Binary mode: the text already carries its own line ends.
    _setmode(_fileno(stdout), _O_BINARY);
}

void PrintText(std::string_view cp1254) {
    Write(stdout, STD_OUTPUT_HANDLE, cp1254);
}

void PrintUtf8(std::string_view utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
}

void PrintError(std::string_view cp1254) {
    Write(stderr, STD_ERROR_HANDLE, std::string("miravel-cli: ") + std::string(cp1254) + "\n");
}

std::filesystem::path ProgramFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::filesystem::path(path).parent_path();
}

}  // namespace miravel::cli
