// Text output of the command-line front end. The program's text is
// Windows-1254; a Linux terminal wants UTF-8, a Windows console its own code
// page. JSON output is always UTF-8.
#pragma once

#include <filesystem>
#include <string_view>

namespace miravel::cli {

void PrepareConsole();
// Writes Windows-1254 text to stdout in the terminal's encoding.
void PrintText(std::string_view cp1254);
// Writes UTF-8 bytes to stdout unchanged.
void PrintUtf8(std::string_view utf8);
// One line on stderr (Windows-1254 text).
void PrintError(std::string_view cp1254);
// The folder the running program was started from; empty when unknown.
std::filesystem::path ProgramFolder();

}  // namespace miravel::cli
