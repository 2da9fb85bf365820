#include "config/ini_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <utility>

#include "config/codepage.h"
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

std::string_view EndText(uint8_t end) {
    switch (end) {
        case 1:
            return "\r\n";
        case 2:
            return "\n";
        case 3:
            return "\r";
        default:
            return "";
    }
}

// The next character of UTF-8 or UTF-16 text. Invalid sequences come one
// byte (UTF-8) or one unit (UTF-16) at a time as kInvalid.
constexpr char32_t kInvalid = 0xFFFFFFFFu;

class UnicodeReader {
  public:
    UnicodeReader(std::string_view bytes, IniEncoding encoding, size_t start)
        : bytes_(bytes), encoding_(encoding), pos_(start) {}

    size_t Position() const { return pos_; }
    bool AtEnd() const { return pos_ >= bytes_.size(); }

    char32_t Next() {
        if (encoding_ == IniEncoding::Utf16Le || encoding_ == IniEncoding::Utf16Be) return Next16();
        return Next8();
    }

  private:
    unsigned Byte(size_t i) const { return static_cast<unsigned char>(bytes_[i]); }

    char32_t Next8() {
        const unsigned c = Byte(pos_);
        if (c < 0x80) {
            ++pos_;
            return c;
        }
        int extra = 0;
        unsigned low = 0x80, high = 0xBF;  // bounds of the second byte
        char32_t cp = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            cp = c & 0x0F;
            if (c == 0xE0) low = 0xA0;   // no overlong forms
            if (c == 0xED) high = 0x9F;  // no surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            cp = c & 0x07;
            if (c == 0xF0) low = 0x90;
            if (c == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
        } else {
            ++pos_;
            return kInvalid;
        }
        if (pos_ + static_cast<size_t>(extra) >= bytes_.size()) {
            ++pos_;
            return kInvalid;
        }
        for (int k = 1; k <= extra; ++k) {
            const unsigned cc = Byte(pos_ + static_cast<size_t>(k));
            const unsigned lo = k == 1 ? low : 0x80, hi = k == 1 ? high : 0xBF;
            if (cc < lo || cc > hi) {
                ++pos_;
                return kInvalid;
            }
            cp = (cp << 6) | (cc & 0x3F);
        }
        pos_ += 1 + static_cast<size_t>(extra);
        return cp;
    }

    unsigned Unit(size_t i) const {
        return encoding_ == IniEncoding::Utf16Le ? Byte(i) | (Byte(i + 1) << 8)
                                                 : (Byte(i) << 8) | Byte(i + 1);
    }

    char32_t Next16() {
        if (pos_ + 1 >= bytes_.size()) {  // an odd last byte
            pos_ = bytes_.size();
            return kInvalid;
        }
        const unsigned u = Unit(pos_);
        pos_ += 2;
        if (u < 0xD800 || u > 0xDFFF) return u;
        if (u <= 0xDBFF && pos_ + 1 < bytes_.size()) {
            const unsigned v = Unit(pos_);
            if (v >= 0xDC00 && v <= 0xDFFF) {
                pos_ += 2;
                return 0x10000 + ((u - 0xD800) << 10) + (v - 0xDC00);
            }
        }
        return kInvalid;
    }

    std::string_view bytes_;
    IniEncoding encoding_;
    size_t pos_;
};

// Strict UTF-8 (no overlong forms, no surrogates) with at least one
// character beyond ASCII. Text in Windows-1254 with Turkish letters is
// practically never such text: "ı", "ş", "ğ" are bytes that cannot start a
// UTF-8 sequence followed by what they are followed by in words.
bool IsUtf8BeyondAscii(std::string_view bytes) {
    bool beyondAscii = false;
    UnicodeReader reader(bytes, IniEncoding::Utf8, 0);
    while (!reader.AtEnd()) {
        const char32_t cp = reader.Next();
        if (cp == kInvalid) return false;
        beyondAscii = beyondAscii || cp >= 0x80;
    }
    return beyondAscii;
}

// How a file of these bytes is read: by its byte-order mark, as UTF-8 when
// it is UTF-8 beyond ASCII, or else as Windows-1254.
IniEncoding EncodingOf(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return IniEncoding::Utf8Bom;
    if (bytes.substr(0, 2) == "\xFF\xFE") return IniEncoding::Utf16Le;
    if (bytes.substr(0, 2) == "\xFE\xFF") return IniEncoding::Utf16Be;
    return IsUtf8BeyondAscii(bytes) ? IniEncoding::Utf8 : IniEncoding::Cp1254;
}

// The first line of a Windows-1254 file that would otherwise read as
// another encoding.
constexpr std::string_view kCp1254Mark = "; Kodlama: Windows-1254 (Türkçe)\r\n";

std::string EncodeAs(IniEncoding encoding, std::string_view cp1254) {
    switch (encoding) {
        case IniEncoding::Utf8:
        case IniEncoding::Utf8Bom:
            return Cp1254ToUtf8(cp1254);
        case IniEncoding::Utf16Le:
        case IniEncoding::Utf16Be: {
            std::string out;
            out.reserve(cp1254.size() * 2);
            for (char16_t u : Cp1254ToUtf16(cp1254)) {
                const char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
                if (encoding == IniEncoding::Utf16Le) {
                    out += lo;
                    out += hi;
                } else {
                    out += hi;
                    out += lo;
                }
            }
            return out;
        }
        case IniEncoding::Cp1254:
            break;
    }
    return std::string(cp1254);
}

std::string_view ByteOrderMark(IniEncoding encoding) {
    switch (encoding) {
        case IniEncoding::Utf8Bom:
            return "\xEF\xBB\xBF";
        case IniEncoding::Utf16Le:
            return "\xFF\xFE";
        case IniEncoding::Utf16Be:
            return "\xFE\xFF";
        default:
            return "";
    }
}

uint64_t FoldedHash(uint64_t h, std::string_view name) {
    for (char c : name) {
        h ^= static_cast<unsigned char>(AsciiLower(c));
        h *= 1099511628211ull;
    }
    return h;
}

constexpr uint64_t kHashSeed = 14695981039346656037ull;

}  // namespace

size_t IniDocument::NameHash::operator()(std::string_view name) const {
    return static_cast<size_t>(FoldedHash(kHashSeed, name));
}

bool IniDocument::NameEqual::operator()(std::string_view a, std::string_view b) const {
    return NamesEqual(a, b);
}

namespace {

// The hash of a section name, the start of the hashes of its keys.
uint64_t SectionHashOf(std::string_view section) {
    const uint64_t h = FoldedHash(kHashSeed, section) ^ 0xFF;  // "ab"+"c" is not "a"+"bc"
    return h * 1099511628211ull;
}

uint64_t KeyHashOf(uint64_t sectionHash, std::string_view key) {
    uint64_t h = FoldedHash(sectionHash, key);
    // Mixed so that the low bits, which pick the slot, depend on every byte.
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    return h ^ (h >> 33);
}

}  // namespace

IniDocument::IniDocument(std::string_view bytes) : IniDocument(std::string(bytes), 0) {}

IniDocument IniDocument::Adopt(std::string&& bytes) {
    return IniDocument(std::move(bytes), 0);
}

IniDocument::IniDocument(std::string&& bytes, int) {
    encoding_ = EncodingOf(bytes);
    if (encoding_ == IniEncoding::Cp1254) {
        base_ = std::make_shared<const std::string>(std::move(bytes));
        SplitCp1254();
    } else {
        DecodeUnicode(bytes);
    }
    Reindex();
}

IniDocument::IniDocument(const IniDocument& other)
    : base_(other.base_),
      raw_(other.raw_),
      owned_(other.owned_),
      lines_(other.lines_),
      head_(other.head_),
      tail_(other.tail_),
      encoding_(other.encoding_),
      lossyLines_(other.lossyLines_) {
    Reindex();  // the names of written lines now live in this copy's strings
}

IniDocument& IniDocument::operator=(const IniDocument& other) {
    if (this != &other) {
        IniDocument copy(other);
        *this = std::move(copy);
    }
    return *this;
}

void IniDocument::SplitCp1254() {
    const std::string& text = *base_;
    const size_t n = text.size();
    lines_.reserve(n / 24 + 1);
    size_t pos = 0;
    while (pos < n) {
        size_t i = pos;
        while (i < n && text[i] != '\n' && text[i] != '\r')
            ++i;
        Line line;
        line.start = pos;
        line.length = i - pos;
        if (i == n) {
            line.end = End::None;
            pos = n;
        } else if (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n') {
            line.end = End::CrLf;
            pos = i + 2;
        } else {
            line.end = text[i] == '\r' ? End::Cr : End::Lf;
            pos = i + 1;
        }
        line.next = static_cast<uint32_t>(lines_.size() + 1);
        lines_.push_back(line);
    }
    if (!lines_.empty()) {
        lines_.back().next = kNone;
        head_ = 0;
        tail_ = static_cast<uint32_t>(lines_.size() - 1);
    }
}

void IniDocument::DecodeUnicode(std::string_view bytes) {
    // A UTF-16 file of odd length ends in half a unit, which holds no
    // character: it is left out, so that text written after the last line
    // stays aligned to whole units.
    const bool utf16 = encoding_ == IniEncoding::Utf16Le || encoding_ == IniEncoding::Utf16Be;
    if (utf16 && bytes.size() % 2 != 0) bytes.remove_suffix(1);
    raw_ = std::make_shared<const std::string>(bytes);
    const std::string_view raw = *raw_;
    auto base = std::make_shared<std::string>();
    base->reserve(raw.size());
    UnicodeReader reader(raw, encoding_, ByteOrderMark(encoding_).size());
    Line line;
    line.start = 0;
    line.rawStart = reader.Position();
    auto finish = [&](End end, size_t rawEnd, size_t next) {
        line.length = base->size() - line.start;
        line.rawLength = rawEnd - line.rawStart;
        line.end = end;
        line.next = static_cast<uint32_t>(lines_.size() + 1);
        lines_.push_back(line);
        line = Line();
        line.start = base->size();
        line.rawStart = next;
    };
    while (!reader.AtEnd()) {
        const size_t at = reader.Position();
        const char32_t cp = reader.Next();
        if (cp == '\n') {
            finish(End::Lf, at, reader.Position());
        } else if (cp == '\r') {
            UnicodeReader peek = reader;
            if (!peek.AtEnd() && peek.Next() == '\n') {
                finish(End::CrLf, at, peek.Position());
                reader = peek;
            } else {
                finish(End::Cr, at, reader.Position());
            }
        } else {
            char c = '?';
            if (cp != kInvalid) c = CodePointToCp1254(cp);
            if (c == '?' && cp != '?' && !line.lossy) {
                line.lossy = true;
                ++lossyLines_;
            }
            base->push_back(c);
        }
    }
    if (line.rawStart < raw.size() || base->size() > line.start) finish(End::None, raw.size(), 0);
    base_ = std::move(base);
    if (!lines_.empty()) {
        lines_.back().next = kNone;
        head_ = 0;
        tail_ = static_cast<uint32_t>(lines_.size() - 1);
    }
}

std::string_view IniDocument::TextOf(const Line& line) const {
    if (line.owned) return owned_[line.start];
    return std::string_view(*base_).substr(line.start, line.length);
}

uint32_t IniDocument::SectionId(std::string_view name, uint32_t header, bool* inserted) {
    const auto [it, added] = sectionIds_.try_emplace(name, static_cast<uint32_t>(sections_.size()));
    if (added) sections_.push_back(SectionEntry{name, SectionHashOf(name), header, header, false});
    *inserted = added;
    return it->second;
}

uint64_t IniDocument::KeyHashOfLine(uint32_t id) const {
    return KeyHashOf(sections_[lines_[id].section].hash, ParseLine(TextOf(lines_[id])).name);
}

void IniDocument::GrowKeySlots(size_t keys) {
    size_t size = 16;
    while (size * 7 < keys * 10)
        size *= 2;
    if (size <= keySlots_.size()) return;
    std::vector<KeySlot> old(size);
    old.swap(keySlots_);
    const size_t mask = keySlots_.size() - 1;
    for (const KeySlot& slot : old) {
        if (slot.line == kNone) continue;
        size_t i = KeyHashOfLine(slot.line) & mask;
        while (keySlots_[i].line != kNone)
            i = (i + 1) & mask;
        keySlots_[i] = slot;
    }
}

void IniDocument::IndexKey(uint32_t id, std::string_view key, uint64_t hash) {
    GrowKeySlots(keyCount_ + 1);
    const uint32_t tag = static_cast<uint32_t>(hash >> 32);
    const size_t mask = keySlots_.size() - 1;
    size_t i = hash & mask;
    for (; keySlots_[i].line != kNone; i = (i + 1) & mask) {
        const Line& other = lines_[keySlots_[i].line];
        if (keySlots_[i].tag == tag && other.section == lines_[id].section &&
            NamesEqual(ParseLine(TextOf(other)).name, key)) {
            return;  // the first of equal keys wins
        }
    }
    keySlots_[i] = KeySlot{tag, id};
    ++keyCount_;
}

void IniDocument::Reindex() {
    sections_.clear();
    sectionIds_.clear();
    keyCount_ = 0;
    keySlots_.clear();
    // First the sections and the hashes of the keys, line by line; then the
    // keys into their slots, each slot fetched from memory well before it
    // is needed: in a large file nearly every slot is a cache miss.
    struct PendingKey {
        uint64_t hash;
        uint32_t line;
        uint32_t nameStart, nameLength;  // within the line
    };
    std::vector<PendingKey> pending;
    pending.reserve(lines_.size());
    uint32_t current = kNone;      // the section the lines belong to
    bool firstOccurrence = false;  // whether its header is the first of its name
    for (uint32_t id = head_; id != kNone; id = lines_[id].next) {
        Line& line = lines_[id];
        line.section = kNone;
        const std::string_view text = TextOf(line);
        const ParsedLine p = ParseLine(text);
        if (p.kind == LineKind::Section) {
            current = SectionId(p.name, id, &firstOccurrence);
        } else if (p.kind == LineKind::Key && current != kNone) {
            SectionEntry& entry = sections_[current];
            if (firstOccurrence) entry.anchor = id;
            if (!p.name.empty()) entry.hasKeys = true;
            line.section = current;
            pending.push_back(PendingKey{KeyHashOf(entry.hash, p.name), id,
                                         static_cast<uint32_t>(p.name.data() - text.data()),
                                         static_cast<uint32_t>(p.name.size())});
        }
    }
    GrowKeySlots(pending.size());
    const size_t mask = keySlots_.size() - 1;
    constexpr size_t kAhead = 16;
    for (size_t k = 0; k < pending.size(); ++k) {
        if (k + kAhead < pending.size())
            __builtin_prefetch(&keySlots_[pending[k + kAhead].hash & mask]);
        const PendingKey& key = pending[k];
        IndexKey(key.line, TextOf(lines_[key.line]).substr(key.nameStart, key.nameLength),
                 key.hash);
    }
}

uint32_t IniDocument::FindKey(std::string_view section, std::string_view key) const {
    if (keySlots_.empty()) return kNone;
    const auto s = sectionIds_.find(section);
    if (s == sectionIds_.end()) return kNone;
    const uint64_t hash = KeyHashOf(sections_[s->second].hash, key);
    const size_t mask = keySlots_.size() - 1;
    const uint32_t tag = static_cast<uint32_t>(hash >> 32);
    for (size_t i = hash & mask; keySlots_[i].line != kNone; i = (i + 1) & mask) {
        const Line& line = lines_[keySlots_[i].line];
        if (keySlots_[i].tag == tag && line.section == s->second &&
            NamesEqual(ParseLine(TextOf(line)).name, key)) {
            return keySlots_[i].line;
        }
    }
    return kNone;
}

bool IniDocument::Find(std::string_view section, std::string_view key, std::string* value) const {
    const uint32_t id = FindKey(section, key);
    if (id == kNone) return false;
    if (value) *value = std::string(Unquote(ParseLine(TextOf(lines_[id])).value));
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

int32_t IniDocument::GetInt(std::string_view section, std::string_view key, int32_t fallback,
                            int32_t low, int32_t high) const {
    const int32_t value = GetInt(section, key, fallback);
    return value < low ? low : (value > high ? high : value);
}

bool IniDocument::SectionHasKeys(std::string_view section) const {
    const auto it = sectionIds_.find(section);
    return it != sectionIds_.end() && sections_[it->second].hasKeys;
}

std::vector<std::string> IniDocument::KeysOf(std::string_view section) const {
    std::vector<std::string> keys;
    std::string_view current;
    bool inSection = false;
    for (uint32_t id = head_; id != kNone; id = lines_[id].next) {
        const ParsedLine p = ParseLine(TextOf(lines_[id]));
        if (p.kind == LineKind::Section) {
            inSection = NamesEqual(p.name, section);
            current = p.name;
        } else if (inSection && p.kind == LineKind::Key && !p.name.empty() &&
                   FindKey(current, p.name) == id) {
            keys.emplace_back(p.name);
        }
    }
    return keys;
}

uint32_t IniDocument::AddLine(std::string text) {
    owned_.push_back(std::move(text));
    Line line;
    line.start = owned_.size() - 1;
    line.length = owned_.back().size();
    line.owned = true;
    line.end = End::CrLf;
    lines_.push_back(line);
    return static_cast<uint32_t>(lines_.size() - 1);
}

void IniDocument::InsertAfter(uint32_t at, uint32_t id) {
    if (at == kNone) {
        lines_[id].next = head_;
        head_ = id;
        if (tail_ == kNone) tail_ = id;
        return;
    }
    // The line before may be a last line without a line end.
    if (lines_[at].end == End::None) lines_[at].end = End::CrLf;
    lines_[id].next = lines_[at].next;
    lines_[at].next = id;
    if (tail_ == at) tail_ = id;
}

void IniDocument::SetString(std::string_view section, std::string_view key,
                            std::string_view value) {
    value = FirstLine(value);
    const uint32_t found = FindKey(section, key);
    if (found != kNone) {
        Line& line = lines_[found];
        const std::string_view text = TextOf(line);
        const ParsedLine p = ParseLine(text);
        if (Unquote(p.value) == value) return;
        std::string changed(text.substr(0, p.valueStart));
        changed.append(value);
        // A value with blanks around it reads without them: when the line
        // would read as it does now, it stays as it is (the blanks before the
        // old value would otherwise be added to at every save).
        if (Unquote(ParseLine(changed).value) == Unquote(p.value)) return;
        owned_.push_back(std::move(changed));
        line.start = owned_.size() - 1;
        line.length = owned_.back().size();
        line.owned = true;
        if (line.lossy) --lossyLines_;
        line.lossy = false;
        return;
    }
    std::string keyLine(key);
    keyLine += '=';
    keyLine.append(value);

    auto it = sectionIds_.find(section);
    uint32_t sectionId;
    if (it == sectionIds_.end()) {
        if (tail_ != kNone && !Trim(TextOf(lines_[tail_])).empty()) InsertAfter(tail_, AddLine(""));
        std::string headerLine = "[";
        headerLine.append(section);
        headerLine += ']';
        const uint32_t header = AddLine(std::move(headerLine));
        InsertAfter(tail_, header);
        bool inserted = false;
        sectionId = SectionId(ParseLine(TextOf(lines_[header])).name, header, &inserted);
    } else {
        sectionId = it->second;
    }
    const uint32_t id = AddLine(std::move(keyLine));
    InsertAfter(sections_[sectionId].anchor, id);
    const ParsedLine p = ParseLine(TextOf(lines_[id]));
    if (p.kind == LineKind::Key) {
        SectionEntry& entry = sections_[sectionId];
        entry.anchor = id;
        if (!p.name.empty()) entry.hasKeys = true;
        lines_[id].section = sectionId;
        IndexKey(id, p.name, KeyHashOf(entry.hash, p.name));
    }
}

void IniDocument::SetInt(std::string_view section, std::string_view key, int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%i", static_cast<int>(value));
    SetString(section, key, text);
}

std::string IniDocument::Text() const {
    if (encoding_ == IniEncoding::Cp1254) {
        std::string plain = Text(false);
        // Bytes written since loading can make the text read as something
        // else next time: UTF-8 ("Ã§" is also the UTF-8 of "ç") or a
        // byte-order mark. A comment line in front, whose "ü" is no UTF-8,
        // keeps it a Windows-1254 file; the file as loaded never needs it.
        if (!owned_.empty() && EncodingOf(plain) != IniEncoding::Cp1254) {
            plain.insert(0, kCp1254Mark);
        }
        return plain;
    }
    // A decoded file goes back in Windows-1254 unless that would lose
    // characters or read as another encoding: then it keeps its own.
    if (lossyLines_ == 0) {
        std::string plain = Text(false);
        if (EncodingOf(plain) == IniEncoding::Cp1254) return plain;
    }
    return Text(true);
}

std::string IniDocument::Text(bool keepEncoding) const {
    std::string out;
    out.reserve((keepEncoding ? raw_->size() : (base_ ? base_->size() : 0)) + 64);
    if (keepEncoding) out += ByteOrderMark(encoding_);
    for (uint32_t id = head_; id != kNone; id = lines_[id].next) {
        const Line& line = lines_[id];
        const std::string_view end = EndText(static_cast<uint8_t>(line.end));
        if (!keepEncoding) {
            out += TextOf(line);
            out += end;
        } else {
            if (line.owned) {
                out += EncodeAs(encoding_, TextOf(line));
            } else {
                out.append(*raw_, line.rawStart, line.rawLength);
            }
            out += EncodeAs(encoding_, end);
        }
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
    *doc = IniDocument::Adopt(std::move(text));
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
