// The INI file: sections "[name]" and lines "key=value" in Windows-1254.
//
// Reading follows the Windows profile functions: a line ends at CR LF, LF or
// a lone CR; section and key names match without regard to the case of ASCII
// letters (other bytes, Turkish letters among them, must match exactly),
// blanks around names and values are ignored, one pair of quotes enclosing a
// value is dropped, and the first of two equal keys wins. A file that starts
// with a UTF-8 or UTF-16 byte-order mark, or that is valid UTF-8 holding
// letters beyond ASCII, is decoded and seen in Windows-1254 like any other.
//
// Writing changes only the line of the key it sets, and only when the value
// differs from what the key reads; every other byte of the file (comments,
// blank lines, keys and sections the program does not know, the line ends)
// is kept. New lines end in CR LF. A decoded file is written back in
// Windows-1254, unless it holds characters that Windows-1254 cannot
// represent: it then keeps its own encoding, so that nothing is lost. A
// Windows-1254 file that the bytes written into it would make read as UTF-8
// gets a comment line in front whose letters are no UTF-8.
//
// Look-ups and writes take constant time on average, whatever the size of
// the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace miravel {

// How the bytes of a loaded file were encoded.
enum class IniEncoding : uint8_t { Cp1254, Utf8, Utf8Bom, Utf16Le, Utf16Be };

class IniDocument {
  public:
    IniDocument() = default;
    explicit IniDocument(std::string_view bytes);
    // The same, taking over the bytes instead of copying them.
    static IniDocument Adopt(std::string&& bytes);
    IniDocument(const IniDocument& other);
    IniDocument& operator=(const IniDocument& other);
    IniDocument(IniDocument&&) noexcept = default;
    IniDocument& operator=(IniDocument&&) noexcept = default;

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
    // The same, a value beyond [low, high] read as the nearest of the two.
    int32_t GetInt(std::string_view section, std::string_view key, int32_t fallback, int32_t low,
                   int32_t high) const;
    // Whether the section holds at least one "key=value" line.
    bool SectionHasKeys(std::string_view section) const;
    // The key names of the section as written, in file order, first of equals only.
    std::vector<std::string> KeysOf(std::string_view section) const;

    // Replaces the key's value in its line, or appends the key after the last
    // key of its section, or appends the section to the end. A value is cut at
    // its first line break so that it cannot inject lines. Setting the value
    // the key already reads changes nothing.
    void SetString(std::string_view section, std::string_view key, std::string_view value);
    void SetInt(std::string_view section, std::string_view key, int32_t value);

    // The bytes to save: Windows-1254, or the file's own encoding where
    // Windows-1254 would lose characters (see above).
    std::string Text() const;
    IniEncoding SourceEncoding() const { return encoding_; }
    // Whether the file still holds characters (or invalid sequences) that
    // Windows-1254 cannot represent, in lines not written over since; they
    // read as "?".
    bool HasUnrepresentableText() const { return lossyLines_ > 0; }

  private:
    static constexpr uint32_t kNone = 0xFFFFFFFFu;
    enum class End : uint8_t { None, CrLf, Lf, Cr };
    struct Line {
        size_t start = 0;  // in *base_, or the index in owned_ when `owned`
        size_t length = 0;
        size_t rawStart = 0;  // the line's bytes in *raw_ (decoded files)
        size_t rawLength = 0;
        uint32_t next = kNone;
        uint32_t section = kNone;  // the section a key line belongs to
        End end = End::None;
        bool owned = false;  // written by this program since loading
        bool lossy = false;  // holds characters read as "?"
    };
    struct SectionEntry {
        std::string_view name;    // as in the header of the first occurrence
        uint64_t hash = 0;        // the start of the hashes of its keys
        uint32_t header = kNone;  // header line of the first occurrence
        uint32_t anchor = kNone;  // where a new key goes: its last key line, or the header
        bool hasKeys = false;     // any occurrence holds a named key
    };
    struct NameHash {
        size_t operator()(std::string_view name) const;
    };
    struct NameEqual {
        bool operator()(std::string_view a, std::string_view b) const;
    };
    // The key index: open addressing over the hash of section and key names.
    struct KeySlot {
        uint32_t tag = 0;  // the upper half of the key's hash
        uint32_t line = kNone;
    };

    IniDocument(std::string&& bytes, int);
    std::string_view TextOf(const Line& line) const;
    void SplitCp1254();
    void DecodeUnicode(std::string_view bytes);
    void Reindex();
    uint32_t SectionId(std::string_view name, uint32_t header, bool* inserted);
    uint64_t KeyHashOfLine(uint32_t id) const;
    void GrowKeySlots(size_t keys);
    // Adds the key line unless an equal key is indexed already.
    void IndexKey(uint32_t id, std::string_view key, uint64_t hash);
    // Index of the key's line, or kNone.
    uint32_t FindKey(std::string_view section, std::string_view key) const;
    uint32_t AddLine(std::string text);
    void InsertAfter(uint32_t at, uint32_t id);
    // The file in Windows-1254, or in the encoding it was read in.
    std::string Text(bool keepEncoding) const;

    // What was loaded, immutable and shared between copies, so that the
    // names in the indexes below stay valid.
    std::shared_ptr<const std::string> base_;  // Windows-1254 view of the file
    std::shared_ptr<const std::string> raw_;   // the file's bytes, when decoded
    std::deque<std::string> owned_;            // lines written since; never move
    std::vector<Line> lines_;                  // in order of creation, linked by `next`
    uint32_t head_ = kNone, tail_ = kNone;
    IniEncoding encoding_ = IniEncoding::Cp1254;
    size_t lossyLines_ = 0;  // lines with `lossy` set
    std::vector<SectionEntry> sections_;
    std::unordered_map<std::string_view, uint32_t, NameHash, NameEqual> sectionIds_;
    std::vector<KeySlot> keySlots_;  // a power of two in size, at most 70 % full
    size_t keyCount_ = 0;
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
