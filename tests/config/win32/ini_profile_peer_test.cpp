// Our INI reader and writer against the system's own profile functions: a
// file either side writes must read the same through the other.
#ifdef _WIN32

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/codepage.h"
#include "config/ini_file.h"
#include "config/settings.h"
#include "config/temp_folder.h"

namespace miravel {
namespace {

using testing::TempFolder;
using testing::WriteBytes;

// The ANSI functions decode the file and the names with the same code page,
// so Windows-1254 bytes come back unchanged whatever that code page is.
std::string ProfileString(const std::filesystem::path& ini, const std::string& section,
                          const std::string& key, const char* fallback = "<yok>") {
    char buffer[1024];
    GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback, buffer, sizeof buffer,
                             ini.string().c_str());
    return buffer;
}

TEST(IniProfilePeer, TheSystemReadsWhatWeWrite) {
    TempFolder dir;
    const auto ini = dir / "miravel.ini";
    ProgramState ps;
    ps.location.latitude = -3950;
    std::snprintf(ps.location.city, sizeof ps.location.city, "%s", "Kahramanmaraş");
    ps.calc.imsakAngle = -18.25f;
    ps.options.reminder = true;
    std::snprintf(ps.options.reminderFile, sizeof ps.options.reminderFile, "%s",
                  "D:\\Sesler\\Salâ öğle.wav");
    class NoAutostart : public Autostart {
        bool IsRegistered() override { return false; }
        bool Register(const std::filesystem::path&) override { return false; }
        bool Unregister() override { return true; }
    } autostart;
    ASSERT_TRUE(SaveCalcParams(ps, ini));
    ASSERT_TRUE(SaveOptions(ps, ini, autostart, dir / "miravel.exe"));

    IniDocument doc;
    ASSERT_TRUE(LoadIniFile(ini, &doc));
    for (const char* section : {kCalcSection, kOptionsSection}) {
        const std::vector<std::string> keys = doc.KeysOf(section);
        ASSERT_GT(keys.size(), 19u) << section;
        for (const std::string& key : keys) {
            EXPECT_EQ(ProfileString(ini, section, key), doc.GetString(section, key, "?")) << key;
        }
    }
    EXPECT_EQ(ProfileString(ini, kCalcSection, "İmsak Açısı"), "-1825");
    EXPECT_EQ(GetPrivateProfileIntA(kCalcSection, "ENLEM", 0, ini.string().c_str()),
              static_cast<UINT>(-3950));
}

TEST(IniProfilePeer, WeReadWhatTheSystemWrites) {
    TempFolder dir;
    const auto ini = dir / "peer.ini";
    const std::string file = ini.string();
    ASSERT_TRUE(WritePrivateProfileStringA("Seçenekler", "Duvar", "Yerküre", file.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("Seçenekler", "Hatırlat", "Evet", file.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("Time Servers", "Host0", "time.example", file.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("seçenekler", "DUVAR", "Ay", file.c_str()));

    EXPECT_EQ(ReadIniInt(ini, "Seçenekler", "Yok", 5), 5);
    char buffer[32];
    ReadIniString(ini, "Seçenekler", "Duvar", "", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "Ay");
    ReadIniString(ini, "Seçenekler", "Hatırlat", "", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "Evet");

    // And the system reads on after our writes.
    ASSERT_TRUE(WriteIniString(ini, "Seçenekler", "Duvar", "Yok"));
    ASSERT_TRUE(WriteIniString(ini, "Time Servers", "Host1", "192.0.2.7"));
    EXPECT_EQ(ProfileString(ini, "Seçenekler", "Duvar"), "Yok");
    EXPECT_EQ(ProfileString(ini, "Time Servers", "Host0"), "time.example");
    EXPECT_EQ(ProfileString(ini, "Time Servers", "Host1"), "192.0.2.7");
}

TEST(IniProfilePeer, HandEditedLayoutReadsTheSameBothWays) {
    TempFolder dir;
    const auto ini = dir / "edited.ini";
    WriteBytes(ini,
               "; yorum\r\n"
               "  [Hesap Paramatreleri]  \r\n"
               "   Enlem   =   4101   \r\n"
               "boylam=2897\n"
               "Şehir Adı=\"İstanbul\"\r\n"
               "Ülke Adı='Türkiye'\r\n"
               "Enlem=1\r\n"
               "Boş=\r\n"
               "\r\n"
               "[Seçenekler]\r\n"
               "Hatırlat = Evet\r\n"
               "Duvar=Ay");
    IniDocument doc;
    ASSERT_TRUE(LoadIniFile(ini, &doc));
    const struct {
        const char* section;
        const char* key;
    } lookups[] = {
        {"Hesap Paramatreleri", "Enlem"},
        {"HESAP PARAMATRELERI", "BOYLAM"},
        {"Hesap Paramatreleri", "Şehir Adı"},
        {"Hesap Paramatreleri", "Ülke Adı"},
        {"Hesap Paramatreleri", "Boş"},
        {"Hesap Paramatreleri", "Yok"},
        {"Seçenekler", "Hatırlat"},
        {"Seçenekler", "Duvar"},
        {"Seçenekler", "Enlem"},
    };
    for (const auto& l : lookups) {
        EXPECT_EQ(doc.GetString(l.section, l.key, "<yok>"), ProfileString(ini, l.section, l.key))
            << l.section << " / " << l.key;
    }
}

// Lone CRs and Unicode files as the system's profile functions read them:
// the wide functions for Unicode files, so that their Turkish letters do not
// pass through the system's ANSI code page; the ANSI ones for Windows-1254.
std::string WideProfileString(const std::filesystem::path& ini, const std::string& section,
                              const std::string& key) {
    wchar_t buffer[1024];
    GetPrivateProfileStringW(reinterpret_cast<const wchar_t*>(Cp1254ToUtf16(section).c_str()),
                             reinterpret_cast<const wchar_t*>(Cp1254ToUtf16(key).c_str()), L"<yok>",
                             buffer, 1024, ini.wstring().c_str());
    const std::u16string wide(reinterpret_cast<const char16_t*>(buffer));
    return Utf16ToCp1254(wide);
}

TEST(IniProfilePeer, LineEndsAndEncodingsReadTheSameBothWays) {
    TempFolder dir;
    const std::string file =
        "[Hesap Paramatreleri]\r\n"
        "Şehir Adı=Ankara\rÜlke Adı=Türkiye\r\n"
        "Enlem=3992\r\r\n"
        "[Seçenekler]\rHatırlat=Evet\rDuvar=Yerküre\n";
    std::string utf16 = "\xFF\xFE";
    for (char16_t u : Cp1254ToUtf16(file)) {
        utf16 += static_cast<char>(u & 0xFF);
        utf16 += static_cast<char>(u >> 8);
    }
    const struct {
        const char* name;
        std::string bytes;
    } forms[] = {
        {"windows-1254.ini", file},
        {"utf8-mark.ini", "\xEF\xBB\xBF" + Cp1254ToUtf8(file)},
        {"utf16.ini", utf16},
    };
    const struct {
        const char* section;
        const char* key;
    } lookups[] = {
        {kCalcSection, "Şehir Adı"},   {kCalcSection, "Ülke Adı"}, {kCalcSection, "Enlem"},
        {kOptionsSection, "Hatırlat"}, {kOptionsSection, "Duvar"},
    };
    for (const auto& f : forms) {
        const auto ini = dir / f.name;
        WriteBytes(ini, f.bytes);
        IniDocument doc;
        ASSERT_TRUE(LoadIniFile(ini, &doc));
        for (const auto& l : lookups) {
            EXPECT_EQ(doc.GetString(l.section, l.key, "<yok>"),
                      f.bytes == file ? ProfileString(ini, l.section, l.key)
                                      : WideProfileString(ini, l.section, l.key))
                << f.name << ": " << l.section << " / " << l.key;
        }
        // After our save, in Windows-1254, the system reads the same values.
        ASSERT_TRUE(WriteIniString(ini, kOptionsSection, "Duvar", "Ay"));
        EXPECT_EQ(ProfileString(ini, kOptionsSection, "Duvar"), "Ay") << f.name;
        EXPECT_EQ(ProfileString(ini, kCalcSection, "Ülke Adı"), "Türkiye") << f.name;
        EXPECT_EQ(ProfileString(ini, kOptionsSection, "Hatırlat"), "Evet") << f.name;
    }
}

}  // namespace
}  // namespace miravel

#endif  // _WIN32
