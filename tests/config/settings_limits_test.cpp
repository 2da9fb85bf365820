// Numbers read from the file keep to the limits the dialogs enforce.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "config/settings.h"
#include "temp_folder.h"
#include "ui/calc_params_form.h"
#include "ui/fake_controls.h"
#include "ui/options_form.h"

namespace miravel {
namespace {

using testing::FakeControls;
using testing::TempFolder;
using testing::WriteBytes;

class NoAutostart : public Autostart {
  public:
    bool IsRegistered() override { return false; }
    bool Register(const std::filesystem::path&) override { return true; }
    bool Unregister() override { return true; }
};

ProgramState LoadFile(const std::string& text) {
    TempFolder dir;
    const auto ini = dir / "miravel.ini";
    WriteBytes(ini, text);
    ProgramState ps;
    NoAutostart autostart;
    LoadCalcParams(ps, ini);
    LoadOptions(ps, ini, autostart);
    LoadStartupSwitches(ps, ini);
    return ps;
}

TEST(SettingLimits, NumbersBeyondTheLimitsReadAsTheNearestLimit) {
    const ProgramState low = LoadFile(
        "[Hesap Paramatreleri]\r\n"
        "Enlem=-2147483648\r\n"
        "Boylam=-18001\r\n"
        "Saat Farkı=-99999999999\r\n"
        "Şehir No.=0\r\n"
        "SABAH temkini=-31\r\n"
        "GÜNEŞ temkini=-1\r\n"
        "İmsak Açısı=-2001\r\n"
        "Yatsı Açısı=-3000\r\n"
        "Hesap Modu=-1\r\n"
        "[Seçenekler]\r\n"
        "Sabah Ezanı=9\r\n"
        "Cuma Salâ Süresi=-60\r\n"
        "Sahur Salâ Süresi=0\r\n"
        "Hatırlatma Süresi=-2147483648\r\n"
        "iletiler=-1\r\n");
    EXPECT_EQ(low.location.latitude, -9000);
    EXPECT_EQ(low.location.longitude, -18000);
    EXPECT_EQ(low.location.utcOffset, -720);
    EXPECT_EQ(low.location.listRow, 1);
    EXPECT_EQ(low.calc.temkin[Imsak], -30);
    EXPECT_EQ(low.calc.temkin[Israk], 0);
    EXPECT_EQ(low.calc.imsakAngle, -20.0f);
    EXPECT_EQ(low.calc.yatsiAngle, -20.0f);
    EXPECT_EQ(low.calc.mode, 0);
    EXPECT_EQ(low.astro.imsakAngle, -20.0f);  // and the core got the same
    EXPECT_EQ(low.astro.temkin[Imsak], -30);
    EXPECT_EQ(low.options.morningAdhanLead, 10);
    EXPECT_EQ(low.options.fridaySalaLead, 10);
    EXPECT_EQ(low.options.sahurSalaLead, 10);
    EXPECT_EQ(low.options.reminderLead, 10);
    EXPECT_EQ(low.options.messageStyle, 2);  // not one of the menu's styles: the default

    const ProgramState high = LoadFile(
        "[Hesap Paramatreleri]\r\n"
        "Enlem=9001\r\n"
        "Boylam=2147483647\r\n"
        "Saat Farkı=721\r\n"
        "Şehir No.=30001\r\n"
        "İMSAK temkini=5\r\n"
        "İSTİVA temkini=31\r\n"
        "AKŞAM temkini=999\r\n"
        "İmsak Açısı=-1499\r\n"
        "Yatsı Açısı=0\r\n"
        "Hesap Modu=4\r\n"
        "[Seçenekler]\r\n"
        "Sabah Ezanı=61\r\n"
        "Cuma Salâ Süresi=121\r\n"
        "Sahur Salâ Süresi=2147483647\r\n"
        "Hatırlatma Süresi=61\r\n"
        "iletiler=3\r\n"
        "Hilal Görünürlüğü=-5000\r\n"  // no dialog sets it: read as it stands
        "Röle Aktif=86400\r\n");
    EXPECT_EQ(high.location.latitude, 9000);
    EXPECT_EQ(high.location.longitude, 18000);
    EXPECT_EQ(high.location.utcOffset, 720);
    EXPECT_EQ(high.location.listRow, 30000);
    EXPECT_EQ(high.calc.temkin[Gunes], 0);
    EXPECT_EQ(high.calc.temkin[Ogle], 30);
    EXPECT_EQ(high.calc.temkin[Yatsi], 30);
    EXPECT_EQ(high.calc.imsakAngle, -15.0f);
    EXPECT_EQ(high.calc.yatsiAngle, -10.0f);
    EXPECT_EQ(high.options.morningAdhanLead, 60);
    EXPECT_EQ(high.options.fridaySalaLead, 120);
    EXPECT_EQ(high.options.sahurSalaLead, 120);
    EXPECT_EQ(high.options.reminderLead, 60);
    EXPECT_EQ(high.options.messageStyle, 2);
    EXPECT_EQ(high.options.crescentVisibility, -5000);
    EXPECT_EQ(high.options.relayHoldSeconds, 86400);
}

TEST(SettingLimits, TheYatsiTemkinFollowsTheModeReadAfterIt) {
    // Under mode 5 YATSI follows AKŞAM by 60..120 minutes; the default 2 of an
    // absent key is below that.
    ProgramState ps = LoadFile("[Hesap Paramatreleri]\r\nHesap Modu=5\r\n");
    EXPECT_EQ(ps.calc.temkin[Yatsi], 60);
    ps = LoadFile("[Hesap Paramatreleri]\r\nAKŞAM temkini=90\r\nHesap Modu=5\r\n");
    EXPECT_EQ(ps.calc.temkin[Yatsi], 90);
    ps = LoadFile("[Hesap Paramatreleri]\r\nAKŞAM temkini=90\r\nHesap Modu=7\r\n");
    EXPECT_EQ(ps.calc.mode, 5);
    EXPECT_EQ(ps.calc.temkin[Yatsi], 90);
    ps = LoadFile("[Hesap Paramatreleri]\r\nAKŞAM temkini=90\r\nHesap Modu=4\r\n");
    EXPECT_EQ(ps.calc.temkin[Yatsi], 30);
    EXPECT_EQ(ps.astro.temkin[Yatsi], 30);
}

// The same limits as the dialogs: what loads at a limit passes "Kaydet", and
// one step beyond it is refused there.
TEST(SettingLimits, TheDialogsAcceptTheLimitsAndRefuseOneStepBeyond) {
    for (int v = 1; v <= kVakitCount; ++v) {
        for (int32_t mode = -1; mode <= 7; ++mode) {
            int32_t low, high, dialogLow, dialogHigh;
            TemkinLimits(v, mode, &low, &high);
            TemkinRange(v, mode, &dialogLow, &dialogHigh);
            EXPECT_EQ(low, dialogLow) << v << " " << mode;
            EXPECT_EQ(high, dialogHigh) << v << " " << mode;
        }
    }

    const struct {
        int id;
        const char* key;
        const char* texts[4];  // the low limit, one step below, the high limit, one step above
    } calcFields[] = {
        {IDC_LATITUDE, "Enlem", {"-90", "-90.01", "90", "90.01"}},
        {IDC_LONGITUDE, "Boylam", {"-180", "-180.01", "180", "180.01"}},
        // One minute beyond twelve hours, to ten places.
        {IDC_UTC_OFFSET, "Saat Farkı", {"-12", "-12.0166666667", "12", "12.0166666667"}},
        {IDC_LIST_ROW, "Şehir No.", {"1", "0", "30000", "30001"}},
        {IDC_MODE, "Hesap Modu", {"0", "-1", "5", "6"}},
        {IDC_IMSAK_ANGLE, "İmsak Açısı", {"-20", "-20.01", "-15", "-14.99"}},
        {IDC_YATSI_ANGLE, "Yatsı Açısı", {"-20", "-20.01", "-10", "-9.99"}},
    };
    for (const auto& f : calcFields) {
        for (int k = 0; k < 4; ++k) {
            ProgramState ps;
            FakeControls c;
            SettlementListFile list;
            RefreshCalcParamsForm(ps, list, c);
            c.text[f.id] = f.texts[k];
            if (f.id == IDC_MODE && k == 2) c.text[IDC_TEMKIN_LAST] = "60";  // mode 5 wants 60..120
            EXPECT_EQ(CommitCalcParams(ps, c, list), k % 2 ? f.id : 0)
                << f.key << " " << f.texts[k];
        }
        // A record loaded from the extremes passes "Kaydet" as the dialog shows it.
        for (const char* extreme : {"-2147483648", "2147483647"}) {
            const ProgramState loaded =
                LoadFile(std::string("[Hesap Paramatreleri]\r\n") + f.key + "=" + extreme + "\r\n");
            ProgramState ps = loaded;
            FakeControls c;
            SettlementListFile list;
            RefreshCalcParamsForm(ps, list, c);
            EXPECT_EQ(CommitCalcParams(ps, c, list), 0) << f.key << " " << extreme;
            EXPECT_EQ(ps.location.latitude, loaded.location.latitude);
            EXPECT_EQ(ps.location.longitude, loaded.location.longitude);
            EXPECT_EQ(ps.location.utcOffset, loaded.location.utcOffset);
            EXPECT_EQ(ps.location.listRow, loaded.location.listRow);
            EXPECT_EQ(ps.calc.mode, loaded.calc.mode);
            EXPECT_EQ(ps.calc.imsakAngle, loaded.calc.imsakAngle);
            EXPECT_EQ(ps.calc.yatsiAngle, loaded.calc.yatsiAngle);
        }
    }

    const struct {
        int id;
        const char* key;
        int32_t Options::*field;
    } minuteFields[] = {
        {IDC_MORNING_LEAD, "Sabah Ezanı", &Options::morningAdhanLead},
        {IDC_REMINDER_LEAD, "Hatırlatma Süresi", &Options::reminderLead},
        {IDC_FRIDAY_SALA_LEAD, "Cuma Salâ Süresi", &Options::fridaySalaLead},
        {IDC_SAHUR_SALA_LEAD, "Sahur Salâ Süresi", &Options::sahurSalaLead},
    };
    for (const auto& f : minuteFields) {
        // What a hostile file loads as, the dialog takes; one more it refuses.
        for (const char* extreme : {"-2147483648", "2147483647"}) {
            const ProgramState loaded =
                LoadFile(std::string("[Seçenekler]\r\n") + f.key + "=" + extreme + "\r\n");
            const int32_t limit = loaded.options.*f.field;
            for (int32_t step : {0, 1}) {
                ProgramState ps;
                FakeControls c;
                RefreshOptionsForm(ps, c);
                char text[16];
                std::snprintf(text, sizeof text, "%d",
                              static_cast<int>(extreme[0] == '-' ? limit - step : limit + step));
                c.text[f.id] = text;
                EXPECT_EQ(CommitOptions(ps, c), step ? f.id : 0) << f.key << " " << text;
            }
        }
    }
}

}  // namespace
}  // namespace miravel
