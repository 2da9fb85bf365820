// The INI reader and writer on any text: the text comes back byte for byte,
// a value set reads back as written, and no other key changes.
//
// Input: the INI text, then NUL-separated: section, key, value, and further
// section names whose keys are watched.
#include <algorithm>
#include <climits>
#include <cstring>
#include <map>
#include <utility>

#include "config/ini_file.h"
#include "fuzz_input.h"

namespace {

using miravel::IniDocument;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

// Names the program could write: one line, no blanks at the ends, and none
// of the characters that end a section name or a key name.
bool Writable(const std::string& name, const char* forbidden) {
    if (name.empty() || IsBlank(name.front()) || IsBlank(name.back())) return false;
    if (name.front() == ';' || name.front() == '[') return false;
    for (char c : name)
        if (c == '\r' || c == '\n' || c == '\0' || std::strchr(forbidden, c)) return false;
    return true;
}

// The INI integer by its definition: an optional "-", the digits after it,
// saturated to 32 bits.
int32_t ReferenceInt(std::string value, int32_t fallback) {
    size_t b = 0, e = value.size();
    while (b < e && IsBlank(value[b]))
        ++b;
    while (e > b && IsBlank(value[e - 1]))
        --e;
    if (b == e) return fallback;
    const bool negative = value[b] == '-';
    if (negative) ++b;
    long long magnitude = 0;
    for (; b < e && value[b] >= '0' && value[b] <= '9'; ++b)
        magnitude = std::min(magnitude * 10 + (value[b] - '0'), 1LL << 40);
    const long long v = negative ? -magnitude : magnitude;
    return static_cast<int32_t>(std::clamp<long long>(v, INT32_MIN, INT32_MAX));
}

using Watched = std::map<std::pair<std::string, std::string>, std::string>;

Watched Snapshot(const IniDocument& doc, const std::vector<std::string>& sections) {
    Watched w;
    for (const std::string& s : sections)
        for (const std::string& k : doc.KeysOf(s)) {
            std::string v;
            FUZZ_CHECK(doc.Find(s, k, &v));
            w[{s, k}] = v;
        }
    return w;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    miravel::fuzz::FuzzInput in(data, size);
    const std::string text = in.Part();
    const std::string section = in.Part();
    const std::string key = in.Part();
    const std::string value = in.Part();
    std::vector<std::string> sections{section};
    while (!in.Empty() && sections.size() < 8)
        sections.push_back(in.Part());

    // A Windows-1254 file comes back byte for byte; a UTF-8 or UTF-16 one is
    // decoded and written in Windows-1254 (or in its own encoding where that
    // would lose characters), and what is written reads the same once more.
    IniDocument doc(text);
    if (doc.SourceEncoding() == miravel::IniEncoding::Cp1254) {
        FUZZ_CHECK(doc.Text() == text);
    } else {
        FUZZ_CHECK(IniDocument(doc.Text()).Text() == doc.Text());
    }

    // Reads: the bounded copy is the value cut to the buffer, and the
    // integer is the value's number.
    std::string found;
    const bool present = doc.Find(section, key, &found);
    char buffer[24];
    const size_t cap = section.size() % sizeof buffer;
    std::memset(buffer, 'x', sizeof buffer);
    const size_t copied = doc.GetString(section, key, "fallback", buffer, cap);
    const std::string expected = present ? found : std::string("fallback");
    if (cap == 0) {
        FUZZ_CHECK(copied == 0 && buffer[0] == 'x');
    } else {
        FUZZ_CHECK(copied == std::min(expected.size(), cap - 1));
        FUZZ_CHECK(buffer[copied] == '\0' && expected.compare(0, copied, buffer, copied) == 0);
    }
    FUZZ_CHECK(doc.GetInt(section, key, -7) == (present ? ReferenceInt(found, -7) : -7));
    FUZZ_CHECK(doc.SectionHasKeys(section) == !doc.KeysOf(section).empty());

    if (!Writable(section, "]") || !Writable(key, "=")) return 0;

    const Watched before = Snapshot(doc, sections);
    doc.SetString(section, key, value);

    // What a Windows-1254 file holding only this key would read (the byte of
    // the comment is no UTF-8, so the file is not taken for a UTF-8 one).
    std::string line = value.substr(0, value.find_first_of(std::string("\r\n\0", 3)));
    std::string wanted;
    FUZZ_CHECK(IniDocument("; \xFF\r\n[" + section + "]\r\n" + key + "=" + line)
                   .Find(section, key, &wanted));
    std::string got;
    FUZZ_CHECK(doc.Find(section, key, &got));
    FUZZ_CHECK(got == wanted);

    // Every other watched key keeps its value; the written text reads the same.
    const Watched after = Snapshot(doc, sections);
    for (const auto& [name, v] : before) {
        if (SameName(name.first, section) && SameName(name.second, key)) continue;
        const auto it = after.find(name);
        FUZZ_CHECK(it != after.end() && it->second == v);
    }
    for (const auto& [name, v] : after) {
        if (SameName(name.first, section) && SameName(name.second, key)) continue;
        FUZZ_CHECK(before.count(name) == 1);
    }
    const IniDocument reread(doc.Text());
    FUZZ_CHECK(reread.Text() == doc.Text());
    FUZZ_CHECK(Snapshot(reread, sections) == after);

    // A second write of the same value changes nothing.
    const std::string once = doc.Text();
    doc.SetString(section, key, value);
    FUZZ_CHECK(doc.Text() == once);

    // Integers written read back as themselves.
    const int32_t number = static_cast<int32_t>(in.U32() ^ static_cast<uint32_t>(text.size()));
    doc.SetInt(section, key, number);
    FUZZ_CHECK(doc.GetInt(section, key, 0) == number);
    return 0;
}
