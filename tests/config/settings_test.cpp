#include "config/settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "config/file_access.h"
#include "config/ini_file.h"
#include "temp_folder.h"

namespace miravel {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

class FakeAutostart : public Autostart {
  public:
    bool IsRegistered() override { return registered; }
    bool Register(const std::filesystem::path& programPath) override {
        ++registerCalls;
        program = programPath;
        registered = true;
        return true;
    }
    bool Unregister() override {
        ++unregisterCalls;
        registered = false;
        return true;
    }

    bool registered = false;
    int registerCalls = 0;
    int unregisterCalls = 0;
    std::filesystem::path program;
};

// Every field the two dialog sections hold.
void ExpectSameSettings(const ProgramState& a, const ProgramState& b) {
    const Location &la = a.location, &lb = b.location;
    EXPECT_EQ(la.useList, lb.useList);
    EXPECT_EQ(la.listRow, lb.listRow);
    EXPECT_STREQ(la.city, lb.city);
    EXPECT_STREQ(la.country, lb.country);
    EXPECT_EQ(la.latitude, lb.latitude);
    EXPECT_EQ(la.longitude, lb.longitude);
    EXPECT_EQ(la.utcOffset, lb.utcOffset);
    EXPECT_EQ(la.useSystemTimeZone, lb.useSystemTimeZone);
    EXPECT_EQ(la.summerTime, lb.summerTime);
    EXPECT_EQ(la.useSystemSummerTime, lb.useSystemSummerTime);
    for (int v = 1; v <= kVakitCount; ++v)
        EXPECT_EQ(a.calc.temkin[v], b.calc.temkin[v]) << v;
    EXPECT_EQ(a.calc.imsakAngle, b.calc.imsakAngle);
    EXPECT_EQ(a.calc.yatsiAngle, b.calc.yatsiAngle);
    EXPECT_EQ(a.calc.mode, b.calc.mode);
    const Options &oa = a.options, &ob = b.options;
    EXPECT_EQ(oa.morningAdhanLead, ob.morningAdhanLead);
    EXPECT_EQ(oa.morningAdhanAtImsak, ob.morningAdhanAtImsak);
    EXPECT_EQ(oa.fridaySalaLead, ob.fridaySalaLead);
    EXPECT_EQ(oa.fridaySala, ob.fridaySala);
    EXPECT_EQ(oa.sahurSalaLead, ob.sahurSalaLead);
    EXPECT_EQ(oa.sahurSala, ob.sahurSala);
    EXPECT_EQ(oa.reminderLead, ob.reminderLead);
    EXPECT_EQ(oa.reminder, ob.reminder);
    EXPECT_EQ(oa.reminderSala, ob.reminderSala);
    EXPECT_EQ(oa.asrSaniAdhan, ob.asrSaniAdhan);
    EXPECT_EQ(oa.remainingToAnyTime, ob.remainingToAnyTime);
    EXPECT_EQ(oa.autoClockCorrection, ob.autoClockCorrection);
    EXPECT_EQ(oa.autostart, ob.autostart);
    EXPECT_EQ(oa.relayPort, ob.relayPort);
    EXPECT_EQ(oa.relayLeadSeconds, ob.relayLeadSeconds);
    EXPECT_EQ(oa.relayHoldSeconds, ob.relayHoldSeconds);
    EXPECT_EQ(oa.crescentVisibility, ob.crescentVisibility);
    EXPECT_EQ(oa.viewAltitude, ob.viewAltitude);
    EXPECT_STREQ(oa.salaTimes, ob.salaTimes);
    EXPECT_STREQ(oa.reminderFile, ob.reminderFile);
    EXPECT_STREQ(oa.reminderButtonText, ob.reminderButtonText);
}

// Every field away from its default.
ProgramState UnusualSettings() {
    ProgramState ps;
    Location& l = ps.location;
    l.useList = true;
    l.listRow = 81;
    std::strcpy(l.city, "Kahramanmaraş");
    std::strcpy(l.country, "Türkiye");
    l.latitude = -3950;
    l.longitude = 17999;
    l.utcOffset = -210;
    l.useSystemTimeZone = l.summerTime = l.useSystemSummerTime = true;
    const int32_t temkins[kVakitCount] = {-30, 0, 30, -1, 11, 12, 13, -14, 15, 120};
    for (int v = 1; v <= kVakitCount; ++v)
        ps.calc.temkin[v] = temkins[v - 1];
    ps.calc.imsakAngle = -18.25f;
    ps.calc.yatsiAngle = -15.03f;
    ps.calc.mode = 5;
    Options& o = ps.options;
    o.morningAdhanLead = 10;
    o.fridaySalaLead = 120;
    o.sahurSalaLead = 11;  // within 10..120: a number beyond its limits loads as the limit
    o.reminderLead = 59;
    o.morningAdhanAtImsak = o.fridaySala = o.sahurSala = o.reminder = o.reminderSala = true;
    o.asrSaniAdhan = o.remainingToAnyTime = o.autoClockCorrection = o.autostart = true;
    o.relayPort = 3;
    o.relayLeadSeconds = 0;
    o.relayHoldSeconds = 7200;
    o.crescentVisibility = -300;
    o.viewAltitude = 1200;
    std::strcpy(o.salaTimes, "010100");
    std::strcpy(o.reminderFile, "D:\\Sesler\\Salâ öğle.wav");
    std::strcpy(o.reminderButtonText, "ŞİMDİ KILDIM, ALLAH KABUL ETSİN!");  // 32 characters
    return ps;
}

// Each test has a folder of its own and the path of an INI file in it.
class Settings : public ::testing::Test {
  protected:
    TempFolder dir;
    const std::filesystem::path ini = dir / "miravel.ini";
};

TEST_F(Settings, TableDefaultsAreTheRecordsDefaults) {
    ProgramState ps = UnusualSettings();
    ps.options.autostart = false;  // not a key of the file
    SetCalcDefaults(ps);
    SetOptionDefaults(ps);
    ExpectSameSettings(ps, ProgramState());
    EXPECT_EQ(DefaultTemkin(Yatsi), 2);
    EXPECT_EQ(DefaultTemkin(Gunes), -7);
}

TEST_F(Settings, AFreshFileHoldsTheKeysInTableOrder) {
    ProgramState ps;
    FakeAutostart autostart;
    ASSERT_TRUE(SaveCalcParams(ps, ini));
    ASSERT_TRUE(SaveOptions(ps, ini, autostart, dir / "miravel.exe"));
    EXPECT_EQ(ReadBytes(ini),
              "[Hesap Paramatreleri]\r\n"
              "Enlem=0\r\n"
              "Boylam=0\r\n"
              "Saat Farkı=0\r\n"
              "Windows Saat Dilimi=0\r\n"
              "Yaz Saati=0\r\n"
              "Windows Yaz Saati=0\r\n"
              "Liste Kullan=0\r\n"
              "Şehir No.=34\r\n"
              "Şehir Adı=???\r\n"
              "Ülke Adı=???\r\n"
              "SABAH temkini=-2\r\n"
              "İMSAK temkini=-7\r\n"
              "GÜNEŞ temkini=10\r\n"
              "İŞRAK temkini=0\r\n"
              "İSTİVA temkini=5\r\n"
              "ÖĞLE temkini=5\r\n"
              "İKİNDİ temkini=5\r\n"
              "ASR-I SANİ temkini=0\r\n"
              "İSFİRAR temkini=7\r\n"
              "AKŞAM temkini=2\r\n"
              "İmsak Açısı=-1800\r\n"
              "Yatsı Açısı=-1700\r\n"
              "Hesap Modu=4\r\n"
              "\r\n"
              "[Seçenekler]\r\n"
              "Sabah Ezanı=60\r\n"
              "Sabah Ezanı İmsakta=Hayır\r\n"
              "Cuma Salâ Süresi=60\r\n"
              "Cuma Salâsı=Hayır\r\n"
              "Sahur Salâ Süresi=90\r\n"
              "Sahur Salâsı=Hayır\r\n"
              "Hatırlatma Süresi=20\r\n"
              "Hatırlat=Hayır\r\n"
              "Salâ Oku=Hayır\r\n"
              "İkindi Ezanı Asr-ı Sani'de=Hayır\r\n"
              "Tüm Vakitler için Kalan Süre=Hayır\r\n"
              "Saati Otomatik Düzelt=Hayır\r\n"
              "Röle COM-port=0\r\n"
              "Röle Avansı=3\r\n"
              "Röle Aktif=400\r\n"
              "Hilal Görünürlüğü=50\r\n"
              "Bakış İrtifası=0\r\n"
              "Salâ Vakitler=111111\r\n"
              "Hatırlatıcı Dosyası=sala.wav\r\n"
              "Hatırlatıcı Metni=VALLAHİ  KILDIM..!\r\n");
}

TEST_F(Settings, WhatIsSavedLoadsBackTheSame) {
    ProgramState saved = UnusualSettings();
    FakeAutostart autostart;
    ASSERT_TRUE(SaveCalcParams(saved, ini));
    ASSERT_TRUE(SaveOptions(saved, ini, autostart, dir / "miravel.exe"));
    EXPECT_EQ(autostart.registerCalls, 1);
    EXPECT_EQ(autostart.program, dir / "miravel.exe");

    ProgramState loaded;
    LoadCalcParams(loaded, ini);
    LoadOptions(loaded, ini, autostart);
    ExpectSameSettings(loaded, saved);

    // Saving what was loaded changes no byte.
    const std::string first = ReadBytes(ini);
    ASSERT_TRUE(SaveCalcParams(loaded, ini));
    ASSERT_TRUE(SaveOptions(loaded, ini, autostart, dir / "miravel.exe"));
    EXPECT_EQ(ReadBytes(ini), first);

    loaded.options.autostart = false;
    ASSERT_TRUE(SaveOptions(loaded, ini, autostart, dir / "miravel.exe"));
    EXPECT_EQ(autostart.unregisterCalls, 1);
    LoadOptions(loaded, ini, autostart);
    EXPECT_FALSE(loaded.options.autostart);
}

TEST_F(Settings, AnglesAreStoredInHundredths) {
    ProgramState ps;
    ps.calc.imsakAngle = -18.25f;
    ASSERT_TRUE(SaveCalcParams(ps, ini));
    EXPECT_NE(ReadBytes(ini).find("\r\nİmsak Açısı=-1825\r\n"), std::string::npos);

    ProgramState loaded;
    LoadCalcParams(loaded, ini);
    EXPECT_EQ(loaded.calc.imsakAngle, -18.25f);
    EXPECT_EQ(loaded.astro.imsakAngle, -18.25f);

    WriteBytes(ini, "[Hesap Paramatreleri]\r\nYatsı Açısı=-1850\r\n");
    LoadCalcParams(loaded, ini);
    EXPECT_EQ(loaded.calc.yatsiAngle, -18.5f);
    EXPECT_EQ(loaded.calc.imsakAngle, -18.0f);  // absent: the default
}

// As floats, about half of the hundredths lie just inside their value
// (-17.03 is -17.0299988); truncating those would lose one hundredth at
// every load and save.
TEST_F(Settings, EveryStoredAngleSurvivesALoadAndSave) {
    for (int32_t h = -9000; h <= 9000; ++h) {
        ASSERT_EQ(AngleToHundredths(static_cast<float>(h) / 100.0f), h);
    }
    // Genuine fractions of a hundredth still truncate toward zero.
    EXPECT_EQ(AngleToHundredths(-18.256f), -1825);
    EXPECT_EQ(AngleToHundredths(18.259f), 1825);
    EXPECT_EQ(AngleToHundredths(-0.009f), 0);

    WriteBytes(ini, "[Hesap Paramatreleri]\r\nYatsı Açısı=-1703\r\n");
    ProgramState ps;
    LoadCalcParams(ps, ini);
    EXPECT_FLOAT_EQ(ps.astro.yatsiAngle, -17.03f);
    ASSERT_TRUE(SaveCalcParams(ps, ini));
    EXPECT_EQ(ReadIniInt(ini, kCalcSection, "Yatsı Açısı", 0), -1703);
}

TEST_F(Settings, TemkinKeysCarryTheNameOfTheTimeBefore) {
    EXPECT_EQ(TemkinKey(Imsak), "SABAH temkini");
    EXPECT_EQ(TemkinKey(Yatsi), "AKŞAM temkini");
    EXPECT_EQ(TemkinKey(0), "");
    EXPECT_EQ(TemkinKey(11), "");

    WriteBytes(ini,
               "[Hesap Paramatreleri]\r\n"
               "YATSI temkini=99\r\n"
               "AKŞAM temkini=3\r\n"
               "İSFİRAR temkini=8\r\n");
    ProgramState ps;
    LoadCalcParams(ps, ini);
    EXPECT_EQ(ps.calc.temkin[Yatsi], 3);
    EXPECT_EQ(ps.calc.temkin[Aksam], 8);
    for (int v = 1; v <= kVakitCount; ++v)
        EXPECT_NE(ps.calc.temkin[v], 99) << v;
    EXPECT_EQ(ps.astro.temkin[Yatsi], 3);

    ps.calc.temkin[Yatsi] = 90;
    ASSERT_TRUE(SaveCalcParams(ps, ini));
    EXPECT_EQ(ReadIniInt(ini, kCalcSection, "AKŞAM temkini", 0), 90);
    EXPECT_EQ(ReadIniInt(ini, kCalcSection, "YATSI temkini", 0), 99);  // kept, never written
}

TEST_F(Settings, FlagsAndTextsReadAsTheTableSays) {
    WriteBytes(ini,
               "[Hesap Paramatreleri]\r\n"
               "Şehir Adı=Şanlıurfa Siverek İl\r\n"  // 20 characters
               "Ülke Adı=Amerika Birleşik Devletleri\r\n"
               "Liste Kullan=-2\r\n"
               "Yaz Saati=evet\r\n"
               "[Seçenekler]\r\n"
               "Sabah Ezanı İmsakta=evet\r\n"
               "Cuma Salâsı=Evet\r\n"
               "Sahur Salâsı=EVET\r\n"
               "Hatırlat=  Evet  \r\n"
               "Salâ Vakitler=1111110\r\n"
               "Hilal Görünürlüğü=70000\r\n"
               "Hatırlatıcı Metni=123456789012345678901234567890123456\r\n");
    ProgramState ps;
    FakeAutostart autostart;
    LoadCalcParams(ps, ini);
    LoadOptions(ps, ini, autostart);
    EXPECT_STREQ(ps.location.city, "Şanlıurfa Siver");
    EXPECT_STREQ(ps.location.country, "Amerika Birleşi");
    EXPECT_TRUE(ps.location.useList);      // any non-zero number
    EXPECT_FALSE(ps.location.summerTime);  // not a number: 0
    EXPECT_FALSE(ps.options.morningAdhanAtImsak);
    EXPECT_TRUE(ps.options.fridaySala);
    EXPECT_FALSE(ps.options.sahurSala);
    EXPECT_TRUE(ps.options.reminder);
    EXPECT_STREQ(ps.options.salaTimes, "111111");
    EXPECT_EQ(ps.options.crescentVisibility, static_cast<int16_t>(70000));
    EXPECT_STREQ(ps.options.reminderButtonText, "12345678901234567890123456789012");
}

// A name cut to its field must not end in a blank that the next load trims:
// the settings would differ after a save without any edit.
TEST_F(Settings, ANameCutBeforeABlankLosesTheBlank) {
    WriteBytes(ini,
               "[Hesap Paramatreleri]\r\n"
               "Şehir Adı=Afyonkarahisar Merkez\r\n"  // the 15th character is a blank
               "Ülke Adı=Türkiye Cumhu\t  riyeti\r\n");
    ProgramState ps;
    LoadCalcParams(ps, ini);
    EXPECT_STREQ(ps.location.city, "Afyonkarahisar");
    EXPECT_STREQ(ps.location.country, "Türkiye Cumhu");
    ASSERT_TRUE(SaveCalcParams(ps, ini));
    ProgramState again;
    LoadCalcParams(again, ini);
    EXPECT_STREQ(again.location.city, ps.location.city);
    EXPECT_STREQ(again.location.country, ps.location.country);

    // A NUL byte ends the text of a field the same way.
    using namespace std::string_literals;
    WriteBytes(ini, "[Hesap Paramatreleri]\r\nÜlke Adı=Türkiye\t\0x\r\n"s);
    LoadCalcParams(ps, ini);
    EXPECT_STREQ(ps.location.country, "Türkiye");
    ASSERT_TRUE(SaveCalcParams(ps, ini));
    LoadCalcParams(again, ini);
    EXPECT_STREQ(again.location.country, "Türkiye");

    // The tallies' names too.
    WriteBytes(ini,
               "[Seçenekler]\r\nÇetele-1 Adı=Zikir \0x\r\n"
               "Çetele-2 Adı=1234567890123456789012345678901 23\r\n"s);
    Tally tallies[kTallyCount], reread[kTallyCount];
    LoadTallies(ini, tallies);
    EXPECT_STREQ(tallies[0].name, "Zikir");
    EXPECT_STREQ(tallies[1].name, "1234567890123456789012345678901");
    ASSERT_TRUE(SaveTallies(ini, tallies));
    LoadTallies(ini, reread);
    EXPECT_STREQ(reread[0].name, "Zikir");
    EXPECT_STREQ(reread[1].name, tallies[1].name);

    // And the adhan files.
    WriteBytes(ini, "[Seçenekler]\r\nÖĞLE=C:\\Ezanlar\\öğle.wav\t\0x\r\n"s);
    LoadAdhanFiles(ps, ini);
    int slot = 0;
    while (slot < kAdhanSlotCount && std::strcmp(ps.adhanFiles[slot], "ezan.wav") == 0)
        ++slot;
    ASSERT_LT(slot, kAdhanSlotCount);
    EXPECT_STREQ(ps.adhanFiles[slot], "C:\\Ezanlar\\öğle.wav");
    ASSERT_TRUE(SaveAdhanFile(ps, ini, slot));
    LoadAdhanFiles(again, ini);
    EXPECT_STREQ(again.adhanFiles[slot], ps.adhanFiles[slot]);
}

TEST_F(Settings, OnlyTheCalculationSectionGivesOptionDefaults) {
    WriteBytes(ini, "[Hesap Paramatreleri]\r\nEnlem=3950\r\n");
    ProgramState ps = UnusualSettings();
    FakeAutostart autostart;
    LoadOptions(ps, ini, autostart);
    ProgramState expected = ps;
    SetOptionDefaults(expected);
    expected.options.autostart = false;
    ExpectSameSettings(ps, expected);
    EXPECT_EQ(ps.ikindiAdhanTime, Ikindi);
    EXPECT_TRUE(IniSectionHasKeys(ini, kCalcSection));
    EXPECT_FALSE(IniSectionHasKeys(ini, kOptionsSection));
}

TEST_F(Settings, LoadingAndSavingStirTheScheduler) {
    ProgramState ps;
    FakeAutostart autostart;
    ps.calc.temkin[Ogle] = 9;
    ps.calc.mode = 1;
    ps.calc.imsakAngle = -16.5f;
    ps.ticksToNextRun = 37;
    ps.recalcLevel = 0;
    ApplyCalcParams(ps);
    EXPECT_EQ(ps.ticksToNextRun, 0);
    EXPECT_EQ(ps.recalcLevel, 2);
    EXPECT_EQ(ps.astro.temkin[Ogle], 9);
    EXPECT_EQ(ps.astro.mode, 1);
    EXPECT_EQ(ps.astro.imsakAngle, -16.5f);

    ps.ticksToNextRun = 37;
    ps.options.asrSaniAdhan = true;
    ps.options.autostart = true;
    EXPECT_TRUE(SaveOptions(ps, ini, autostart, dir / "miravel.exe"));
    EXPECT_EQ(ps.ticksToNextRun, 0);
    ps.ticksToNextRun = 37;
    ps.ikindiAdhanTime = Ikindi;
    ps.options.autostart = false;
    LoadOptions(ps, ini, autostart);
    EXPECT_EQ(ps.ticksToNextRun, 0);
    EXPECT_EQ(ps.ikindiAdhanTime, AsriSani);
    EXPECT_TRUE(ps.options.autostart);  // from the system, not from the file
}

TEST_F(Settings, TheIkindiAdhanFileFollowsAsrSani) {
    WriteBytes(ini,
               "[Seçenekler]\r\n"
               "İkindi Ezanı Asr-ı Sani'de=Evet\r\n"
               "SABAH=sabah.wav\r\n"
               "İKİNDİ=ikindi.wav\r\n"
               "ASR-I SANİ=asr.wav\r\n"
               "YATSI=\r\n");
    ProgramState ps;
    FakeAutostart autostart;
    LoadOptions(ps, ini, autostart);
    LoadAdhanFiles(ps, ini);
    EXPECT_EQ(ps.ikindiAdhanTime, AsriSani);
    EXPECT_STREQ(ps.adhanFiles[0], "sabah.wav");
    EXPECT_STREQ(ps.adhanFiles[1], "ezan.wav");
    EXPECT_STREQ(ps.adhanFiles[2], "asr.wav");
    EXPECT_STREQ(ps.adhanFiles[4], "");

    std::strcpy(ps.adhanFiles[2], "yeni.wav");
    ASSERT_TRUE(SaveAdhanFile(ps, ini, 2));
    EXPECT_EQ(ReadBytes(ini),
              "[Seçenekler]\r\n"
              "İkindi Ezanı Asr-ı Sani'de=Evet\r\n"
              "SABAH=sabah.wav\r\n"
              "İKİNDİ=ikindi.wav\r\n"
              "ASR-I SANİ=yeni.wav\r\n"
              "YATSI=\r\n");
    EXPECT_FALSE(SaveAdhanFile(ps, ini, 5));

    WriteIniString(ini, kOptionsSection, "İkindi Ezanı Asr-ı Sani'de", "Hayır");
    LoadOptions(ps, ini, autostart);
    LoadAdhanFiles(ps, ini);
    EXPECT_STREQ(ps.adhanFiles[2], "ikindi.wav");
}

TEST_F(Settings, AHandEditedFileKeepsEveryByteItDoesNotChange) {
    const std::filesystem::path data = MIRAVEL_TEST_DATA_DIR;
    std::filesystem::copy_file(data / "config" / "user_edited.ini", ini);
    const std::string expected = ReadBytes(data / "config" / "user_edited.saved.ini");
    ASSERT_FALSE(expected.empty());

    ProgramState ps;
    FakeAutostart autostart;
    LoadCalcParams(ps, ini);
    LoadOptions(ps, ini, autostart);
    EXPECT_EQ(ps.location.latitude, 4101);
    EXPECT_EQ(ps.location.utcOffset, 180);
    EXPECT_STREQ(ps.location.city, "İstanbul");
    EXPECT_EQ(ps.calc.temkin[Yatsi], 2);
    EXPECT_EQ(ps.options.morningAdhanLead, 45);
    EXPECT_TRUE(ps.options.reminder);

    ASSERT_TRUE(SaveCalcParams(ps, ini));
    ASSERT_TRUE(SaveOptions(ps, ini, autostart, dir / "miravel.exe"));
    EXPECT_EQ(ReadBytes(ini), expected);

    LoadAdhanFiles(ps, ini);
    EXPECT_STREQ(ps.adhanFiles[1], "C:\\Ezanlar\\öğle.wav");
    const TimeServerList servers = ReadTimeServers(ini);
    ASSERT_EQ(servers.hosts.size(), 2u);
    EXPECT_EQ(servers.hosts[1], "192.0.2.7");
}

TEST_F(Settings, AFailedSaveKeepsTheFileAndStillAppliesTheRecord) {
    ASSERT_TRUE(WriteIniInt(ini, kCalcSection, "Enlem", 100));
    const std::string old = ReadBytes(ini);
    std::filesystem::create_directory(TempPathBeside(ini));
    ProgramState ps;
    ps.location.latitude = 200;
    ps.calc.mode = 2;
    ps.ticksToNextRun = 5;
    EXPECT_FALSE(SaveCalcParams(ps, ini));
    EXPECT_EQ(ReadBytes(ini), old);
    EXPECT_EQ(ps.astro.mode, 2);
    EXPECT_EQ(ps.ticksToNextRun, 0);
}

TEST_F(Settings, StartupAndExitSwitches) {
    ProgramState ps;
    ps.options.adhanEnabled = false;
    ps.options.messageStyle = 0;
    ps.options.wallpaper = 2;
    EXPECT_FALSE(LoadStartupSwitches(ps, ini));  // first run
    EXPECT_TRUE(ps.options.adhanEnabled);
    EXPECT_FALSE(ps.options.wakeUp);
    EXPECT_EQ(ps.options.messageStyle, 2);
    EXPECT_EQ(ps.options.wallpaper, 0);

    WriteBytes(ini,
               "[Seçenekler]\r\n"
               "Ezan/Salâ=hayır\r\n"
               "Uyandır=Evet\r\n"
               "iletiler=1\r\n"
               "Duvar=Yerküre\r\n");
    EXPECT_TRUE(LoadStartupSwitches(ps, ini));
    EXPECT_TRUE(ps.options.adhanEnabled);  // only the exact "Hayır" switches it off
    EXPECT_TRUE(ps.options.wakeUp);
    EXPECT_EQ(ps.options.messageStyle, 1);
    EXPECT_EQ(ps.options.wallpaper, 3);

    ps.options.adhanEnabled = false;
    ps.options.wakeUp = false;
    ps.options.messageStyle = 0;
    ps.options.wallpaper = 0;
    ASSERT_TRUE(SaveExitSwitches(ps, ini));
    ASSERT_TRUE(SaveMessageStyle(ps, ini));
    ASSERT_TRUE(SaveWallpaper(ps, ini));
    EXPECT_EQ(ReadBytes(ini),
              "[Seçenekler]\r\n"
              "Ezan/Salâ=Hayır\r\n"
              "Uyandır=Hayır\r\n"
              "iletiler=0\r\n"
              "Duvar=Yok\r\n");
    ps.options.adhanEnabled = true;
    EXPECT_TRUE(LoadStartupSwitches(ps, ini));
    EXPECT_FALSE(ps.options.adhanEnabled);

    WriteIniString(ini, kOptionsSection, "Ezan/Salâ", "");
    EXPECT_FALSE(LoadStartupSwitches(ps, ini));  // empty counts as a first run
    EXPECT_TRUE(ps.options.adhanEnabled);

    EXPECT_EQ(WallpaperFromText("Ay"), 1);
    EXPECT_EQ(WallpaperFromText("Yeryüzü"), 2);
    EXPECT_EQ(WallpaperFromText("ay"), 0);
    EXPECT_STREQ(WallpaperText(1), "Ay");
    EXPECT_STREQ(WallpaperText(2), "Yeryüzü");
    EXPECT_STREQ(WallpaperText(7), "Yok");
}

TEST_F(Settings, TalliesAndTheLastReligiousDay) {
    Tally tallies[kTallyCount];
    LoadTallies(ini, tallies);
    EXPECT_STREQ(tallies[0].name, "Çetele-1");
    EXPECT_STREQ(tallies[4].name, "Çetele-5");
    EXPECT_EQ(tallies[2].value, 0);
    EXPECT_EQ(tallies[2].increment, 1);

    std::strcpy(tallies[1].name, "Salavat");
    tallies[1].value = 3300;
    tallies[1].increment = 33;
    ASSERT_TRUE(SaveTallies(ini, tallies));
    EXPECT_EQ(ReadIniInt(ini, kOptionsSection, "Çetele-2 Değeri", 0), 3300);
    EXPECT_EQ(ReadIniInt(ini, kOptionsSection, "Çetele-2 Eklenecek", 0), 33);

    WriteIniString(ini, kOptionsSection, "Çetele-3 Adı",
                   "Otuz iki karakterden daha uzun bir çetele adı");
    Tally loaded[kTallyCount];
    LoadTallies(ini, loaded);
    EXPECT_STREQ(loaded[1].name, "Salavat");
    EXPECT_EQ(loaded[1].value, 3300);
    EXPECT_STREQ(loaded[2].name, "Otuz iki karakterden daha uzun b");

    EXPECT_EQ(ReadLastReligiousDay(ini), "");
    ASSERT_TRUE(WriteLastReligiousDay(ini, 5, 3, 2024));
    EXPECT_EQ(ReadLastReligiousDay(ini), "05/03/2024");
}

TEST_F(Settings, TimeServersAreReadInNumberOrderUpToMaxHost) {
    const TimeServerList none = ReadTimeServers(ini);
    EXPECT_EQ(none.maxHost, 99);
    EXPECT_EQ(none.hostTimeoutMs, 2000);
    EXPECT_TRUE(none.hosts.empty());

    WriteBytes(ini,
               "[Time Servers]\r\n"
               "MaxHost=3\r\n"
               "HostTimeout=70000\r\n"
               "host2=c.example\r\n"
               "Host0=a.example\r\n"
               "Host1=\r\n"
               "Host01=leading.zero\r\n"
               "Host3=beyond.max\r\n"
               "Host0=second.copy\r\n");
    const TimeServerList list = ReadTimeServers(ini);
    EXPECT_EQ(list.maxHost, 3);
    EXPECT_EQ(list.hostTimeoutMs, 30000);  // held to its limit, not cut to 16 bits
    WriteBytes(dir / "low.ini", "[Time Servers]\r\nHostTimeout=-1\r\n");
    EXPECT_EQ(ReadTimeServers(dir / "low.ini").hostTimeoutMs, 0);  // not 65535 ms
    ASSERT_EQ(list.hosts.size(), 2u);
    EXPECT_EQ(list.hosts[0], "a.example");
    EXPECT_EQ(list.hosts[1], "c.example");

    // A huge MaxHost costs nothing: only the keys present are looked at.
    WriteBytes(ini, "[Time Servers]\r\nMaxHost=2000000000\r\nHost1999999999=far.example\r\n");
    const TimeServerList far = ReadTimeServers(ini);
    ASSERT_EQ(far.hosts.size(), 1u);
    EXPECT_EQ(far.hosts[0], "far.example");
}

TEST_F(Settings, OfficialChoicesAreWrittenOnceChosenAndSurviveARestart) {
    ProgramState ps;
    ASSERT_TRUE(SaveCalcParams(ps, ini));
    const std::string untouched = ReadBytes(ini);
    // A user who never chose them gets no new keys.
    EXPECT_EQ(untouched.find("Diyanet Uyumlu"), std::string::npos);
    EXPECT_EQ(untouched.find("Resmi Hicri Takvim"), std::string::npos);

    SetDiyanetPreset(ps.calc);
    ps.calc.officialHijri = true;
    ASSERT_TRUE(SaveCalcParams(ps, ini));
    EXPECT_NE(ReadBytes(ini).find("Diyanet Uyumlu=1\r\n"), std::string::npos);
    EXPECT_NE(ReadBytes(ini).find("Resmi Hicri Takvim=1\r\n"), std::string::npos);
    EXPECT_NE(ReadBytes(ini).find("SABAH temkini=0\r\n"), std::string::npos);
    EXPECT_NE(ReadBytes(ini).find("ÖĞLE temkini=4\r\n"), std::string::npos);  // İKİNDİ's

    ProgramState restarted;
    LoadCalcParams(restarted, ini);
    EXPECT_TRUE(restarted.calc.diyanet);
    EXPECT_TRUE(restarted.calc.officialHijri);
    EXPECT_EQ(restarted.astro.diyanetTimes, 1);
    EXPECT_EQ(restarted.astro.officialHijri, 1);
    EXPECT_EQ(restarted.astro.temkin[Ikindi], 4);
    EXPECT_EQ(restarted.astro.temkin[Gunes], -7);

    // Switched off again, the keys stay and read 0.
    restarted.calc.diyanet = false;
    restarted.calc.officialHijri = false;
    ASSERT_TRUE(SaveCalcParams(restarted, ini));
    EXPECT_NE(ReadBytes(ini).find("Diyanet Uyumlu=0\r\n"), std::string::npos);
    EXPECT_NE(ReadBytes(ini).find("Resmi Hicri Takvim=0\r\n"), std::string::npos);
    ProgramState again;
    again.astro.hijriValid = 1;
    again.astro.officialHijri = 1;
    LoadCalcParams(again, ini);
    EXPECT_FALSE(again.calc.diyanet);
    EXPECT_EQ(again.astro.diyanetTimes, 0);
    EXPECT_EQ(again.astro.officialHijri, 0);
    EXPECT_EQ(again.astro.hijriValid, 0);  // the cached month was the other rule's
}

TEST_F(Settings, AHandWrittenOfficialFlagKeepsTheStoredTemkins) {
    WriteBytes(ini,
               "[Hesap Paramatreleri]\r\nDiyanet Uyumlu=7\r\nÖĞLE temkini=6\r\n"
               "Resmi Hicri Takvim=abc\r\n");
    ProgramState ps;
    LoadCalcParams(ps, ini);
    EXPECT_TRUE(ps.calc.diyanet);  // any non-zero number
    EXPECT_FALSE(ps.calc.officialHijri);
    EXPECT_EQ(ps.calc.temkin[Ikindi], 6);  // the file's value, not the preset's
    EXPECT_EQ(ps.astro.temkin[Ikindi], 6);
}

}  // namespace
}  // namespace miravel
