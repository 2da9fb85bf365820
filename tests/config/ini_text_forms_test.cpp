// INI files as editors leave them: other line ends, other encodings, very
// many keys, and random files whose untouched bytes must survive a save.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "config/codepage.h"
#include "config/ini_file.h"
#include "config/settings.h"
#include "temp_folder.h"

namespace miravel {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

std::string Utf16(std::string_view cp1254, bool littleEndian, bool withMark = true) {
    std::string out = withMark ? (littleEndian ? "\xFF\xFE" : "\xFE\xFF") : "";
    for (char16_t u : Cp1254ToUtf16(cp1254)) {
        const char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
        out += littleEndian ? lo : hi;
        out += littleEndian ? hi : lo;
    }
    return out;
}

std::string FromU8(std::u8string_view s) {
    return std::string(reinterpret_cast<const char*>(s.data()), s.size());
}

// ---------------------------------------------------------------------------
// Line ends

TEST(IniLineEnds, ALoneCrEndsALineAndASaveKeepsWhatFollowsIt) {
    const std::string file =
        "[Hesap Paramatreleri]\r\n"
        "Şehir Adı=Ankara\rÜlke Adı=Türkiye\r\n";
    IniDocument doc(file);
    EXPECT_EQ(doc.GetString(kCalcSection, "Şehir Adı", ""), "Ankara");
    EXPECT_EQ(doc.GetString(kCalcSection, "Ülke Adı", ""), "Türkiye");
    doc.SetString(kCalcSection, "Şehir Adı", "Ankara");
    EXPECT_EQ(doc.Text(), file);
    doc.SetString(kCalcSection, "Şehir Adı", "İzmir");
    EXPECT_EQ(doc.Text(),
              "[Hesap Paramatreleri]\r\n"
              "Şehir Adı=İzmir\rÜlke Adı=Türkiye\r\n");

    // The same through the settings and the tallies, on disk.
    TempFolder dir;
    const auto ini = dir / "miravel.ini";
    WriteBytes(ini, file);
    ProgramState ps;
    LoadCalcParams(ps, ini);
    EXPECT_STREQ(ps.location.city, "Ankara");
    EXPECT_STREQ(ps.location.country, "Türkiye");
    ASSERT_TRUE(SaveCalcParams(ps, ini));
    const std::string saved = ReadBytes(ini);
    EXPECT_EQ(saved.find("Şehir Adı=Ankara\rÜlke Adı=Türkiye\r\n"), 23u) << saved;
    EXPECT_EQ(Count(saved, "Ülke Adı="), 1u);

    WriteBytes(ini, "[Seçenekler]\r\nÇetele-1 Adı=Zikir\rÇetele-1 Değeri=33\rX=y\r\n");
    Tally tallies[kTallyCount];
    LoadTallies(ini, tallies);
    EXPECT_STREQ(tallies[0].name, "Zikir");
    EXPECT_EQ(tallies[0].value, 33);
    ASSERT_TRUE(SaveTallies(ini, tallies));
    LoadTallies(ini, tallies);
    EXPECT_EQ(tallies[0].value, 33);
    EXPECT_EQ(IniDocument(ReadBytes(ini)).GetString(kOptionsSection, "X", ""), "y");
}

TEST(IniLineEnds, ACrOnlyFileReadsLineByLineAndGrowsInPlace) {
    IniDocument doc("[A]\rx=1\ry=2\r\r[B]\rz=3");
    EXPECT_EQ(doc.GetInt("A", "y", 0), 2);
    EXPECT_EQ(doc.GetInt("B", "z", 0), 3);
    doc.SetInt("A", "w", 4);
    doc.SetInt("B", "z", 5);
    EXPECT_EQ(doc.Text(), "[A]\rx=1\ry=2\rw=4\r\n\r[B]\rz=5");
    EXPECT_EQ(Count(doc.Text(), "[A]"), 1u);

    // Runs of line ends are blank lines, as any editor shows them.
    const IniDocument mixed("[A]\n\r\r\n\rx=1\n\r");
    EXPECT_EQ(mixed.GetInt("A", "x", 0), 1);
    EXPECT_EQ(mixed.Text(), "[A]\n\r\r\n\rx=1\n\r");
}

// ---------------------------------------------------------------------------
// Encodings

const char kTurkishFile[] =
    "; ayarlar\r\n"
    "[Hesap Paramatreleri]\r\n"
    "Enlem=4101\r\n"
    "Boylam=2897\r\n"
    "Şehir Adı=İstanbul\r\n"
    "Ülke Adı=Türkiye\r\n"
    "\r\n"
    "[Seçenekler]\r\n"
    "Hatırlat=Evet\r\n"
    "Hatırlatma Süresi=15\r\n";

TEST(IniEncodings, UnicodeFilesReadAsTheirWindows1254Text) {
    const struct {
        const char* name;
        std::string bytes;
        IniEncoding encoding;
    } forms[] = {
        {"UTF-8", Cp1254ToUtf8(kTurkishFile), IniEncoding::Utf8},
        {"UTF-8 with mark", "\xEF\xBB\xBF" + Cp1254ToUtf8(kTurkishFile), IniEncoding::Utf8Bom},
        {"UTF-16 LE", Utf16(kTurkishFile, true), IniEncoding::Utf16Le},
        {"UTF-16 BE", Utf16(kTurkishFile, false), IniEncoding::Utf16Be},
        {"Windows-1254", kTurkishFile, IniEncoding::Cp1254},
    };
    for (const auto& f : forms) {
        SCOPED_TRACE(f.name);
        IniDocument doc(f.bytes);
        EXPECT_EQ(doc.SourceEncoding(), f.encoding);
        EXPECT_FALSE(doc.HasUnrepresentableText());
        EXPECT_EQ(doc.GetInt(kCalcSection, "Enlem", 0), 4101);
        EXPECT_EQ(doc.GetString(kCalcSection, "Şehir Adı", ""), "İstanbul");
        EXPECT_EQ(doc.GetString(kOptionsSection, "Hatırlat", ""), "Evet");
        EXPECT_TRUE(doc.SectionHasKeys(kCalcSection));
        // Saved back in Windows-1254, line for line.
        EXPECT_EQ(doc.Text(), kTurkishFile);
        doc.SetInt(kOptionsSection, "Hatırlatma Süresi", 25);
        doc.SetString(kOptionsSection, "Duvar", "Yerküre");
        std::string expected = kTurkishFile;
        expected.replace(expected.find("=15"), 3, "=25");
        expected += "Duvar=Yerküre\r\n";
        EXPECT_EQ(doc.Text(), expected);
    }
    // ASCII alone is the same in every encoding and stays as it is.
    EXPECT_EQ(IniDocument("[A]\r\nx=1\r\n").SourceEncoding(), IniEncoding::Cp1254);
}

TEST(IniEncodings, AUtf8FileWithAMarkKeepsItsFirstSectionThroughTheSettings) {
    TempFolder dir;
    const auto ini = dir / "miravel.ini";
    WriteBytes(ini, "\xEF\xBB\xBF" + Cp1254ToUtf8(kTurkishFile));
    ProgramState ps;
    LoadCalcParams(ps, ini);
    EXPECT_EQ(ps.location.latitude, 4101);
    EXPECT_EQ(ps.location.longitude, 2897);
    EXPECT_STREQ(ps.location.city, "İstanbul");
    EXPECT_TRUE(IniSectionHasKeys(ini, kCalcSection));  // no first-run dialogs
    EXPECT_TRUE(IniSectionHasKeys(ini, kOptionsSection));
    ASSERT_TRUE(SaveCalcParams(ps, ini));
    const std::string saved = ReadBytes(ini);
    EXPECT_EQ(saved.rfind("; ayarlar\r\n[Hesap Paramatreleri]\r\nEnlem=4101\r\n", 0), 0u);
    for (const char* key : {"Enlem=", "Şehir Adı=", "Ülke Adı=", "[Seçenekler]", "Hatırlat="})
        EXPECT_EQ(Count(saved, key), 1u) << key;
    ProgramState again;
    LoadCalcParams(again, ini);
    EXPECT_STREQ(again.location.country, "Türkiye");
}

TEST(IniEncodings, CharactersWindows1254LacksKeepTheFileInItsOwnEncoding) {
    // An Arabic comment and a Greek value: a Windows-1254 save would turn
    // them into question marks for good.
    const std::string utf8 = FromU8(u8"; الله أكبر\r\n") + Cp1254ToUtf8("[Seçenekler]\r\n") +
                             FromU8(u8"Hatırlatıcı Metni=Ω kıldım\r\nDuvar=Ay\r\n");
    for (const std::string& bytes : {utf8, "\xEF\xBB\xBF" + utf8}) {
        IniDocument doc(bytes);
        EXPECT_TRUE(doc.HasUnrepresentableText());
        EXPECT_EQ(doc.GetString(kOptionsSection, "Hatırlatıcı Metni", ""), "? kıldım");
        // What the program read is what it writes back: nothing changes.
        doc.SetString(kOptionsSection, "Hatırlatıcı Metni", "? kıldım");
        EXPECT_EQ(doc.Text(), bytes);
        doc.SetString(kOptionsSection, "Duvar", "Yerküre");
        doc.SetString(kOptionsSection, "Uyandır", "Evet");
        std::string expected = bytes;
        expected.replace(expected.find("=Ay"), 3, Cp1254ToUtf8("=Yerküre"));
        expected += Cp1254ToUtf8("Uyandır=Evet\r\n");
        EXPECT_EQ(doc.Text(), expected);
    }

    // UTF-16 outside the basic plane, and a broken UTF-8 sequence.
    std::string utf16 = Utf16("[A]\r\nx=", true);
    utf16 += std::string("\x3D\xD8\x4C\xDE", 4);  // U+1F64C as a surrogate pair
    utf16 += Utf16("\r\ny=1\r\n", true, false);
    IniDocument wide(utf16);
    EXPECT_TRUE(wide.HasUnrepresentableText());
    EXPECT_EQ(wide.GetString("A", "x", ""), "?");
    wide.SetInt("A", "y", 2);
    EXPECT_EQ(wide.Text(), Utf16("[A]\r\nx=", true) + std::string("\x3D\xD8\x4C\xDE", 4) +
                               Utf16("\r\ny=2\r\n", true, false));

    const std::string broken = "\xEF\xBB\xBF[A]\r\nx=\xC3(\r\ny=1\r\n";
    IniDocument bad(broken);
    EXPECT_TRUE(bad.HasUnrepresentableText());
    EXPECT_EQ(bad.GetString("A", "x", ""), "?(");
    EXPECT_EQ(bad.GetInt("A", "y", 0), 1);
    EXPECT_EQ(bad.Text(), broken);
    // Once the value that held them is written over, nothing stands in the
    // way of Windows-1254, and the next save writes the same.
    bad.SetString("A", "x", "ç");
    EXPECT_FALSE(bad.HasUnrepresentableText());
    EXPECT_EQ(bad.Text(), "[A]\r\nx=ç\r\ny=1\r\n");
    EXPECT_EQ(IniDocument(bad.Text()).Text(), bad.Text());
}

// A UTF-16 file of odd length ends in half a unit: keys added after its last
// line must still be whole units, or the next load reads none of them.
TEST(IniEncodings, AnOddUtf16FileTakesNewKeysThatReadBack) {
    std::string odd = Utf16("[A]\r\nx=", true);
    odd += std::string("\x3D\xD8\x4C\xDE", 4);  // keeps the file in UTF-16
    odd += Utf16("\r\ny=1", true, false) + "Z";
    IniDocument doc(odd);
    EXPECT_EQ(doc.GetInt("A", "y", 0), 1);
    doc.SetInt("A", "z", 7);
    doc.SetString("B", "w", "Türkiye");
    const IniDocument again(doc.Text());
    EXPECT_EQ(again.GetInt("A", "y", 0), 1);
    EXPECT_EQ(again.GetInt("A", "z", 0), 7);
    EXPECT_EQ(again.GetString("B", "w", ""), "Türkiye");
    EXPECT_EQ(again.Text(), doc.Text());
}

// A UTF-8 file whose Windows-1254 form would itself be valid UTF-8 ("Ã§" is
// the UTF-8 of "ç") stays UTF-8, or the next read would decode it again.
TEST(IniEncodings, AUtf8FileWhoseTextWouldReadAsUtf8AgainStaysUtf8) {
    const std::string file = Cp1254ToUtf8("[A]\r\nx=Ã§\r\n");
    IniDocument doc(file);
    EXPECT_EQ(doc.GetString("A", "x", ""), "Ã§");
    doc.SetInt("A", "y", 1);
    const IniDocument again(doc.Text());
    EXPECT_EQ(again.GetString("A", "x", ""), "Ã§");
    EXPECT_EQ(again.GetInt("A", "y", 0), 1);
    EXPECT_EQ(again.Text(), doc.Text());
    // Ordinary Turkish text still goes back in Windows-1254.
    IniDocument turkish(Cp1254ToUtf8("[A]\r\nx=Türkiye\r\n"));
    EXPECT_EQ(turkish.Text(), "[A]\r\nx=Türkiye\r\n");
}

// Written bytes can turn a Windows-1254 file into valid UTF-8 ("Ã§" is the
// UTF-8 of "ç"); the saved file must still read as what was written.
TEST(IniEncodings, AWindows1254FileStaysWindows1254WhateverIsWrittenIntoIt) {
    const std::string file = "[A]\r\nx=1\r\n";
    IniDocument doc(file);
    EXPECT_EQ(doc.Text(), file);
    doc.SetString("A", "x", "Ã§");
    const std::string saved = doc.Text();
    EXPECT_EQ(saved.substr(0, 2), "; ");
    EXPECT_EQ(saved.substr(saved.find("\r\n") + 2), "[A]\r\nx=Ã§\r\n");
    const IniDocument again(saved);
    EXPECT_EQ(again.SourceEncoding(), IniEncoding::Cp1254);
    EXPECT_EQ(again.GetString("A", "x", ""), "Ã§");
    EXPECT_EQ(again.Text(), saved);
    // One mark, however often the file goes round.
    IniDocument third(saved);
    third.SetString("A", "y", "Ã¼");
    EXPECT_EQ(third.Text(), saved + "y=Ã¼\r\n");
    // Text that is no UTF-8 needs no mark.
    IniDocument turkish(file);
    turkish.SetString("A", "x", "Türkiye");
    EXPECT_EQ(turkish.Text(), "[A]\r\nx=Türkiye\r\n");

    // A decoded file whose Windows-1254 form would begin with a byte-order
    // mark keeps its own encoding.
    IniDocument marked(Cp1254ToUtf8("ï»¿;x\r\n[A]\r\nx=ğ\r\n"));
    marked.SetInt("A", "y", 1);
    const IniDocument reread(marked.Text());
    EXPECT_EQ(reread.GetString("A", "x", ""), "ğ");
    EXPECT_EQ(reread.GetInt("A", "y", 0), 1);
    EXPECT_EQ(reread.Text(), marked.Text());
}

TEST(IniEncodings, Windows1254TextIsNotMistakenForUtf8) {
    // Every Turkish letter, and the sequences of two that could look like
    // UTF-8 ("Ã¼" is "ü" in UTF-8 read as Windows-1254).
    const IniDocument turkish("[Ş]\r\nçğıöşü ÇĞİÖŞÜ=âî\r\n");
    EXPECT_EQ(turkish.SourceEncoding(), IniEncoding::Cp1254);
    EXPECT_EQ(turkish.GetString("Ş", "çğıöşü ÇĞİÖŞÜ", ""), "âî");
    EXPECT_EQ(IniDocument("[A]\r\nx=\xC3\xBC\xFD\r\n").SourceEncoding(), IniEncoding::Cp1254);
    EXPECT_EQ(IniDocument("[A]\r\nx=\xC0\x80\r\n").SourceEncoding(), IniEncoding::Cp1254);
    EXPECT_EQ(IniDocument("[A]\r\nx=\xED\xA0\x80\r\n").SourceEncoding(), IniEncoding::Cp1254);
}

// ---------------------------------------------------------------------------
// Size

TEST(IniIndex, ManyKeysKeepTheFirstOfEqualsAndTheirOrder) {
    std::string text = "[Time Servers]\r\nMaxHost=50000\r\n";
    for (int i = 0; i < 40000; ++i) {
        text += "Host" + std::to_string(i) + "=h" + std::to_string(i) + ".example\r\n";
        if (i % 1000 == 999) text += "[Other]\r\nHost1=x\r\n[time servers]\r\n";
    }
    text += "HOST7=second.copy\r\n";
    IniDocument doc(text);
    EXPECT_EQ(doc.GetString("Time Servers", "host7", ""), "h7.example");
    EXPECT_EQ(doc.GetString("Other", "Host1", ""), "x");
    const std::vector<std::string> keys = doc.KeysOf("Time Servers");
    ASSERT_EQ(keys.size(), 40001u);
    EXPECT_EQ(keys[0], "MaxHost");
    EXPECT_EQ(keys[40000], "Host39999");

    // A new key goes after the last key of the section's first occurrence.
    doc.SetString("TIME SERVERS", "Host40000", "new.example");
    const std::string saved = doc.Text();
    EXPECT_EQ(saved.find("Host40000="), saved.find("Host999=h999.example\r\n") + 22);
    EXPECT_EQ(IniDocument(saved).GetString("Time Servers", "Host40000", ""), "new.example");

    TempFolder dir;
    const auto ini = dir / "miravel.ini";
    WriteBytes(ini, text);
    const TimeServerList list = ReadTimeServers(ini);
    ASSERT_EQ(list.hosts.size(), 40000u);
    EXPECT_EQ(list.hosts[0], "h0.example");
    EXPECT_EQ(list.hosts[39999], "h39999.example");
}

TEST(IniIndex, CopiesAreIndependent) {
    IniDocument a("[A]\r\nx=1\r\n");
    a.SetString("B", "y", "2");
    IniDocument b = a;
    a = IniDocument("[C]\r\nz=3\r\n");
    b.SetString("B", "y", "4");
    b.SetString("B", "w", "5");
    EXPECT_EQ(b.Text(), "[A]\r\nx=1\r\n\r\n[B]\r\ny=4\r\nw=5\r\n");
    EXPECT_EQ(a.GetInt("C", "z", 0), 3);
    EXPECT_FALSE(a.Find("B", "y", nullptr));
    IniDocument c;
    c = b;
    EXPECT_EQ(c.GetInt("b", "W", 0), 5);
}

// ---------------------------------------------------------------------------
// Random files in Windows-1254: a save changes the lines of the keys it sets
// and adds lines for new keys and sections; every other byte stays.

struct PhysicalLine {
    std::string text, end;
    bool operator==(const PhysicalLine&) const = default;
};

std::vector<PhysicalLine> SplitLines(const std::string& s) {
    std::vector<PhysicalLine> lines;
    size_t pos = 0;
    while (pos < s.size()) {
        size_t i = pos;
        while (i < s.size() && s[i] != '\r' && s[i] != '\n')
            ++i;
        PhysicalLine l{s.substr(pos, i - pos), ""};
        if (i < s.size())
            l.end =
                (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ? "\r\n" : s.substr(i, 1);
        pos = i + l.end.size();
        if (i == s.size()) pos = i;
        lines.push_back(l);
    }
    return lines;
}

const char* const kSections[] = {"S1", "s1", "S2", "Şube", "Yeni"};
const char* const kKeys[] = {"k1", "K1", "k2", "Yol", "Şehir Adı", "new", ""};
const char* const kValues[] = {"", "1", "-5", "Türkiye", "a b", "x\r\n[S2]\r\nk2=9", "ğüşiöç"};

std::string RandomLine(std::mt19937& rng) {
    auto pick = [&](auto& array) { return std::string(array[rng() % std::size(array)]); };
    switch (rng() % 8) {
        case 0:
            return "[" + pick(kSections) + "]";
        case 1:
            return "  [ " + pick(kSections) + " ]  ; yorum";
        case 2:
            return pick(kKeys) + "=" + pick(kValues).substr(0, 5);
        case 3:
            return " " + pick(kKeys) + " \t=  \"" + pick(kValues).substr(0, 3) + "\"  ";
        case 4:
            return "; " + pick(kKeys) + "=yorum";
        case 5:
            return "";
        default: {
            // Bytes with a meaning to the reader, Turkish letters, and no
            // 0x80..0xBF, so that the file can never pass for UTF-8.
            static const char alphabet[] =
                "[]=; \t\"'abcXYZ019-\xC7\xD0\xDD\xDE\xE7\xF0\xFD\xFE\x1A";
            std::string line;
            const size_t n = rng() % 12;
            for (size_t i = 0; i < n; ++i)
                line += alphabet[rng() % (sizeof alphabet - 1)];
            return line;
        }
    }
}

TEST(IniProperty, ASaveKeepsEveryByteItDoesNotChange) {
    std::mt19937 rng(20260101);
    const char* const ends[] = {"\r\n", "\n", "\r"};
    for (int round = 0; round < 400; ++round) {
        std::string file;
        const size_t lineCount = rng() % 14;
        for (size_t i = 0; i < lineCount; ++i) {
            file += RandomLine(rng);
            if (i + 1 < lineCount || rng() % 2) file += ends[rng() % 3];
        }
        const IniDocument before(file);
        ASSERT_EQ(before.SourceEncoding(), IniEncoding::Cp1254);
        IniDocument doc(file);
        std::map<std::pair<std::string, std::string>, std::string> set;  // ASCII-folded names
        auto fold = [](std::string s) {
            for (char& c : s)
                if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            return s;
        };
        const size_t opCount = 1 + rng() % 4;
        for (size_t k = 0; k < opCount; ++k) {
            const std::string section = kSections[rng() % std::size(kSections)];
            const std::string key = kKeys[rng() % (std::size(kKeys) - 1)];
            const std::string value = kValues[rng() % std::size(kValues)];
            doc.SetString(section, key, value);
            set[{fold(section), fold(key)}] = value.substr(0, value.find('\r'));
        }
        const std::string saved = doc.Text();
        SCOPED_TRACE(::testing::PrintToString(file) + " -> " + ::testing::PrintToString(saved));

        // Structure: each original line is there, in order, unchanged, or
        // with only its value replaced by a value that was set; every other
        // line is new and ends in CR LF.
        const std::vector<PhysicalLine> old = SplitLines(file), now = SplitLines(saved);
        size_t i = 0;
        for (const PhysicalLine& line : now) {
            const bool lastWithoutEnd = i + 1 == old.size() && old[i].end.empty();
            if (i < old.size() &&
                (line.end == old[i].end || (lastWithoutEnd && line.end == "\r\n"))) {
                if (line.text == old[i].text) {
                    ++i;
                    continue;
                }
                const size_t eq = old[i].text.find('=');
                if (eq != std::string::npos) {
                    size_t start = eq + 1;
                    while (start < old[i].text.size() &&
                           (old[i].text[start] == ' ' || old[i].text[start] == '\t'))
                        ++start;
                    if (line.text.compare(0, start, old[i].text, 0, start) == 0) {
                        bool isSetValue = false;
                        for (const auto& [name, value] : set)
                            isSetValue = isSetValue || line.text.substr(start) == value;
                        if (isSetValue) {
                            ++i;
                            continue;
                        }
                    }
                }
            }
            ASSERT_EQ(line.end, "\r\n") << ::testing::PrintToString(line.text);
            bool known = line.text.empty();
            for (const auto& [name, value] : set) {
                known = known || fold(line.text) == name.second + "=" + fold(value);
                for (const char* s : kSections)
                    known = known || line.text == std::string("[") + s + "]";
            }
            ASSERT_TRUE(known) << ::testing::PrintToString(line.text);
        }
        ASSERT_EQ(i, old.size());

        // Meaning: what was set reads back, everything else reads as before.
        const IniDocument after(saved);
        for (const char* section : kSections) {
            for (const char* key : kKeys) {
                const auto it = set.find({fold(section), fold(key)});
                std::string value;
                if (it != set.end()) {
                    ASSERT_TRUE(after.Find(section, key, &value)) << section << "/" << key;
                    EXPECT_EQ(value, it->second);
                } else {
                    std::string was;
                    const bool found = before.Find(section, key, &was);
                    ASSERT_EQ(after.Find(section, key, &value), found) << section << "/" << key;
                    EXPECT_EQ(value, was);
                }
            }
            EXPECT_EQ(after.KeysOf(section).size() >= before.KeysOf(section).size(), true);
        }
        // Setting what the keys now read changes nothing more.
        IniDocument again(saved);
        for (const auto& [name, value] : set)
            again.SetString(name.first, name.second, value);
        ASSERT_EQ(again.Text(), saved);
    }
}

}  // namespace
}  // namespace miravel
