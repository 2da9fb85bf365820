// The INI file: sections "[name]" and lines "key=value" in Windows-1254.
//
// Reading follows the Windows profile functions: section and key names match
// without regard to the case of ASCII letters (other bytes, Turkish letters
// among them, must match exactly), blanks around names and values are
// ignored, one pair of quotes enclosing a value is dropped, and the first of
// two equal keys wins. Writing changes only the line of the key it sets;
// every other byte of the file (comments, blank lines, keys and sections the
// program does not know, LF or CR LF line ends) is kept. New lines end in
// CR LF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace miravel {

class IniDocument {
  public:
    IniDocument() = default;
    explicit IniDocument(std::string_view text);

    // The value of the key, trimmed; false when the section or key is absent.
    bool Find(std::string_view section, std::string_view key, std::string* value) const;
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view fallback) const;
    // Copies at most size - 1 bytes of the value (or of `fallback` when the key
    // is absent) and terminates them; returns the number of bytes copied.
    size_t GetString(std::string_view section, std::string_view key, const char* fallback,
                     char* buffer, size_t size) const;
    // See ParseIniInt.
    int32_t GetInt(std::string_view section, std::string_view key, int32_t fallback) const;
    // Whether the section holds at least one "key=value" line.
    bool SectionHasKeys(std::string_view section) const;
    // The key names of the section as written, in file order, first of equals only.
    std::vector<std::string> KeysOf(std::string_view section) const;

    // Replaces the key's value in its line, or appends the key after the last
    // key of its section, or appends the section to the end. A value is cut at
    // its first line break so that it cannot inject lines.
    void SetString(std::string_view section, std::string_view key, std::string_view value);
    void SetInt(std::string_view section, std::string_view key, int32_t value);

    std::string Text() const;

  private:
    struct Line {
        std::string text;
        std::string end;  // "\r\n", "\n", or "" for a last line without a line end
    };
    // Index of the header line of the section's first occurrence, or -1.
    long FindSection(std::string_view section) const;
    // Index of the key's line, or -1.
    long FindKey(std::string_view section, std::string_view key) const;
    void Insert(size_t at, std::string text);

    std::vector<Line> lines_;
};

// An INI integer as the profile functions read it: an optional "-" and the
// decimal digits after it, saturated to the int32 range; 0 when the value does
// not begin with a number, `fallback` when it is empty.
int32_t ParseIniInt(std::string_view value, int32_t fallback);

// A missing file reads as an empty document (true); false when the file exists
// but cannot be read, so that no caller overwrites what it could not see.
bool LoadIniFile(const std::filesystem::path& path, IniDocument* doc);
// Replaces the file as a whole (see ReplaceFileContents): a failed save leaves
// the previous file intact.
bool SaveIniFile(const std::filesystem::path& path, const IniDocument& doc);

// Several writes with one read and one save of the file.
class IniFileEdit {
  public:
    explicit IniFileEdit(std::filesystem::path path);

    IniDocument& doc() { return doc_; }
    void SetString(std::string_view section, std::string_view key, std::string_view value) {
        doc_.SetString(section, key, value);
    }
    void SetInt(std::string_view section, std::string_view key, int32_t value) {
        doc_.SetInt(section, key, value);
    }
    // Writes the file when its text changed. False when the file could not be
    // read at the start or cannot be written now; the file is then unchanged.
    bool Commit();

  private:
    std::filesystem::path path_;
    IniDocument doc_;
    std::string original_;
    bool loaded_ = false;
};

// One read or write each, the file opened and closed at every call. An
// unreadable file reads as absent keys.
size_t ReadIniString(const std::filesystem::path& path, std::string_view section,
                     std::string_view key, const char* fallback, char* buffer, size_t size);
int32_t ReadIniInt(const std::filesystem::path& path, std::string_view section,
                   std::string_view key, int32_t fallback);
bool IniSectionHasKeys(const std::filesystem::path& path, std::string_view section);
bool WriteIniString(const std::filesystem::path& path, std::string_view section,
                    std::string_view key, std::string_view value);
bool WriteIniInt(const std::filesystem::path& path, std::string_view section, std::string_view key,
                 int32_t value);

}  // namespace miravel
