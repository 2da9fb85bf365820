// The user manual ships beside the program twice, made from one source: as
// RTF, the form a word processor opens with its page layout, and as HTML,
// which every browser opens. Windows 11 has no program for RTF of its own, so
// when the shell cannot open the RTF file the HTML file is opened instead.
#pragma once

#include <array>
#include <filesystem>

namespace miravel {

// The shell as the manual needs it; a fake records the calls in tests.
class DocumentShell {
  public:
    virtual ~DocumentShell() = default;
    virtual bool Exists(const std::filesystem::path& file) = 0;
    // Opens the file with the shell's default verb, maximised, without the
    // shell's own error box; false when the shell could not open it (no
    // program is registered for its type, the file is gone, ...).
    virtual bool Open(const std::filesystem::path& file) = 0;
};

// The manual's files for a program's path without its extension, in the
// order they are tried: base + ".rtf", base + ".html".
std::array<std::filesystem::path, 2> ManualFiles(const std::filesystem::path& base);

// Whether any of the manual's files is there (the menu entry stays enabled).
bool ManualAvailable(DocumentShell& shell, const std::array<std::filesystem::path, 2>& files);

// Opens the first of the files that exists and that the shell opens; returns
// it, or an empty path when none could be opened.
std::filesystem::path OpenManual(DocumentShell& shell,
                                 const std::array<std::filesystem::path, 2>& files);

}  // namespace miravel
