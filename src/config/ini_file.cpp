#include "config/ini_file.h"

#include <cstdio>
#include <cstring>
#include <limits>
#include <utility>

#include "config/file_access.h"

namespace miravel {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool NamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

enum class LineKind { Other, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name;   // section or key name
    std::string_view value;  // key value, trimmed, quotes kept
    size_t valueStart = 0;   // offset of the first byte after "=" and its blanks
};

ParsedLine ParseLine(std::string_view text) {
    ParsedLine p;
    const std::string_view t = Trim(text);
    if (t.empty() || t.front() == ';') return p;
    if (t.front() == '[') {
        const size_t close = t.rfind(']');
        if (close == std::string_view::npos) return p;
        p.kind = LineKind::Section;
        p.name = Trim(t.substr(1, close - 1));
        return p;
    }
    const size_t eq = text.find('=');
    if (eq == std::string_view::npos) return p;
    p.kind = LineKind::Key;
    p.name = Trim(text.substr(0, eq));
    size_t start = eq + 1;
    while (start < text.size() && IsBlank(text[start]))
        ++start;
    p.valueStart = start;
    p.value = Trim(text.substr(start));
    return p;
}

std::string_view Unquote(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        return v.substr(1, v.size() - 2);
    }
    return v;
}

std::string_view FirstLine(std::string_view v) {
    const size_t cut = v.find_first_of(std::string_view("\r\n\0", 3));
    return cut == std::string_view::npos ? v : v.substr(0, cut);
}

size_t CopyBounded(std::string_view text, char* buffer, size_t size) {
    if (!buffer || size == 0) return 0;
    const size_t n = text.size() < size - 1 ? text.size() : size - 1;
    if (n) std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return n;
}

}  // namespace

IniDocument::IniDocument(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t nl = text.find('\n', pos);
        if (nl == std::string_view::npos) {
            lines_.push_back({std::string(text.substr(pos)), ""});
            break;
        }
        const bool crlf = nl > pos && text[nl - 1] == '\r';
        const size_t end = crlf ? nl - 1 : nl;
        lines_.push_back({std::string(text.substr(pos, end - pos)), crlf ? "\r\n" : "\n"});
        pos = nl + 1;
    }
}

long IniDocument::FindSection(std::string_view section) const {
    for (size_t i = 0; i < lines_.size(); ++i) {
        const ParsedLine p = ParseLine(lines_[i].text);
        if (p.kind == LineKind::Section && NamesEqual(p.name, section)) return static_cast<long>(i);
    }
    return -1;
}

long IniDocument::FindKey(std::string_view section, std::string_view key) const {
    bool inSection = false;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const ParsedLine p = ParseLine(lines_[i].text);
        if (p.kind == LineKind::Section) {
            inSection = NamesEqual(p.name, section);
        } else if (inSection && p.kind == LineKind::Key && NamesEqual(p.name, key)) {
            return static_cast<long>(i);
        }
    }
    return -1;
}

bool IniDocument::Find(std::string_view section, std::string_view key, std::string* value) const {
    const long i = FindKey(section, key);
    if (i < 0) return false;
    if (value) *value = std::string(Unquote(ParseLine(lines_[i].text).value));
    return true;
}

std::string IniDocument::GetString(std::string_view section, std::string_view key,
                                   std::string_view fallback) const {
    std::string value;
    if (!Find(section, key, &value)) return std::string(fallback);
    return value;
}

size_t IniDocument::GetString(std::string_view section, std::string_view key, const char* fallback,
                              char* buffer, size_t size) const {
    std::string value;
    if (Find(section, key, &value)) return CopyBounded(value, buffer, size);
    return CopyBounded(fallback ? std::string_view(fallback) : std::string_view(), buffer, size);
}

int32_t IniDocument::GetInt(std::string_view section, std::string_view key,
                            int32_t fallback) const {
    std::string value;
    if (!Find(section, key, &value)) return fallback;
    return ParseIniInt(value, fallback);
}

bool IniDocument::SectionHasKeys(std::string_view section) const {
    return !KeysOf(section).empty();
}

std::vector<std::string> IniDocument::KeysOf(std::string_view section) const {
    std::vector<std::string> keys;
    bool inSection = false;
    for (const Line& line : lines_) {
        const ParsedLine p = ParseLine(line.text);
        if (p.kind == LineKind::Section) {
            inSection = NamesEqual(p.name, section);
        } else if (inSection && p.kind == LineKind::Key && !p.name.empty()) {
            bool seen = false;
            for (const std::string& k : keys)
                seen = seen || NamesEqual(k, p.name);
            if (!seen) keys.emplace_back(p.name);
        }
    }
    return keys;
}

void IniDocument::Insert(size_t at, std::string text) {
    // The line before may be a last line without a line end.
    if (at > 0 && lines_[at - 1].end.empty()) lines_[at - 1].end = "\r\n";
    lines_.insert(lines_.begin() + static_cast<long>(at), Line{std::move(text), "\r\n"});
}

void IniDocument::SetString(std::string_view section, std::string_view key,
                            std::string_view value) {
    value = FirstLine(value);
    const long found = FindKey(section, key);
    if (found >= 0) {
        Line& line = lines_[found];
        line.text.resize(ParseLine(line.text).valueStart);
        line.text.append(value);
        return;
    }
    std::string keyLine(key);
    keyLine += '=';
    keyLine.append(value);

    const long header = FindSection(section);
    if (header < 0) {
        if (!lines_.empty() && !Trim(lines_.back().text).empty()) Insert(lines_.size(), "");
        std::string headerLine = "[";
        headerLine.append(section);
        headerLine += ']';
        Insert(lines_.size(), std::move(headerLine));
        Insert(lines_.size(), std::move(keyLine));
        return;
    }
    size_t anchor = static_cast<size_t>(header);
    for (size_t i = anchor + 1; i < lines_.size(); ++i) {
        const ParsedLine p = ParseLine(lines_[i].text);
        if (p.kind == LineKind::Section) break;
        if (p.kind == LineKind::Key) anchor = i;
    }
    Insert(anchor + 1, std::move(keyLine));
}

void IniDocument::SetInt(std::string_view section, std::string_view key, int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%i", static_cast<int>(value));
    SetString(section, key, text);
}

std::string IniDocument::Text() const {
    std::string out;
    for (const Line& line : lines_) {
        out += line.text;
        out += line.end;
    }
    return out;
}

int32_t ParseIniInt(std::string_view value, int32_t fallback) {
    value = Trim(value);
    if (value.empty()) return fallback;
    size_t i = 0;
    const bool negative = value[0] == '-';
    if (negative) ++i;
    int64_t magnitude = 0;
    constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (value[i] - '0');
        if (magnitude > kMax + 1) magnitude = kMax + 1;
    }
    if (negative) return static_cast<int32_t>(-magnitude);
    return static_cast<int32_t>(magnitude > kMax ? kMax : magnitude);
}

bool LoadIniFile(const std::filesystem::path& path, IniDocument* doc) {
    std::string text;
    const FileRead r = ReadWholeFile(path, &text);
    *doc = IniDocument(text);
    return r != FileRead::Failed;
}

bool SaveIniFile(const std::filesystem::path& path, const IniDocument& doc) {
    return ReplaceFileContents(path, doc.Text());
}

IniFileEdit::IniFileEdit(std::filesystem::path path) : path_(std::move(path)) {
    loaded_ = ReadWholeFile(path_, &original_) != FileRead::Failed;
    doc_ = IniDocument(original_);
}

bool IniFileEdit::Commit() {
    if (!loaded_) return false;
    std::string text = doc_.Text();
    if (text == original_) return true;
    if (!ReplaceFileContents(path_, text)) return false;
    original_ = std::move(text);
    return true;
}

size_t ReadIniString(const std::filesystem::path& path, std::string_view section,
                     std::string_view key, const char* fallback, char* buffer, size_t size) {
    IniDocument doc;
    LoadIniFile(path, &doc);
    return doc.GetString(section, key, fallback, buffer, size);
}

int32_t ReadIniInt(const std::filesystem::path& path, std::string_view section,
                   std::string_view key, int32_t fallback) {
    IniDocument doc;
    LoadIniFile(path, &doc);
    return doc.GetInt(section, key, fallback);
}

bool IniSectionHasKeys(const std::filesystem::path& path, std::string_view section) {
    IniDocument doc;
    LoadIniFile(path, &doc);
    return doc.SectionHasKeys(section);
}

bool WriteIniString(const std::filesystem::path& path, std::string_view section,
                    std::string_view key, std::string_view value) {
    IniFileEdit edit(path);
    edit.SetString(section, key, value);
    return edit.Commit();
}

bool WriteIniInt(const std::filesystem::path& path, std::string_view section, std::string_view key,
                 int32_t value) {
    IniFileEdit edit(path);
    edit.SetInt(section, key, value);
    return edit.Commit();
}

}  // namespace miravel
