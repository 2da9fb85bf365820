// Whole-file reads and crash-safe whole-file replacement. The program never
// holds its files open: it reads a file at once, changes the text in memory
// and writes it back in one piece.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace miravel {

// A file name held as program text: Windows-1254 on Windows (handed to the
// wide API as UTF-16), the bytes as they are elsewhere.
std::filesystem::path PathFromText(const char* text);

// fopen over a filesystem path; wide on Windows, so any file name opens.
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);

enum class FileRead { Ok, Missing, Failed };

// Reads the whole file in binary mode. `*out` is emptied unless Ok.
FileRead ReadWholeFile(const std::filesystem::path& path, std::string* out);

// Where ReplaceFileContents writes before it renames: the path plus ".tmp".
std::filesystem::path TempPathBeside(const std::filesystem::path& path);

// Writes `bytes` to the temporary file beside `path`, flushes it to disk and
// renames it over `path`. On any failure the temporary file is removed,
// `path` is left exactly as it was and false is returned. A file marked
// read-only is not replaced. A temporary file left by a save that was
// killed is replaced by the next save, so none stays behind a successful
// one; a folder at that path is left alone and the save fails.
bool ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes);

}  // namespace miravel
