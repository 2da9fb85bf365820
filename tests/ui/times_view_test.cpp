#include "ui/times_view.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/calendar.h"
#include "core/sun.h"
#include "fake_controls.h"

namespace miravel {
namespace {

using testing::FakeControls;

std::string Title(int latitude, int longitude, int zone) {
    Location l;
    std::strcpy(l.city, "Yer");
    std::strcpy(l.country, "Ülke");
    l.latitude = latitude;
    l.longitude = longitude;
    char text[128];
    FormatTimesTitle(l, zone, text, sizeof text);
    return text;
}

TEST(TimesTitle, HemispheresAndOffset) {
    EXPECT_EQ(Title(-3750, -12225, -480), "Yer / Ülke  (37.50°G, 122.25°B, -8.00)");
    EXPECT_EQ(Title(0, 0, 0), "Yer / Ülke  ( 0.00°K,  0.00°D, +0.00)");
    EXPECT_EQ(Title(4101, 2897, 180), "Yer / Ülke  (41.01°K, 28.97°D, +3.00)");
    EXPECT_EQ(Title(-1, 18000, 345), "Yer / Ülke  ( 0.01°G, 180.00°D, +5.75)");
}

TEST(CalendarBlock, ReligiousAndOrdinaryDays) {
    WorkTime t;
    t.day = 16;
    t.month = 6;
    t.year = 2024;
    t.hour = 9;
    t.minute = 5;
    char text[160];
    FormatCalendarBlock(t, 9, "Zilhicce", 1445, "Arefe", text, sizeof text);
    EXPECT_STREQ(text, "16 Haziran 2024  Paz  09:05\n9 Zilhicce 1445\nArefe");
    t.day = 25;
    FormatCalendarBlock(t, 18, "Zilhicce", 1445, "", text, sizeof text);
    EXPECT_STREQ(text, "25 Haziran 2024  Sal  09:05\n\n18 Zilhicce 1445\n");
}

TEST(VisibilityNote, Codes) {
    char text[64];
    FormatVisibilityNote(37, text, sizeof text);
    EXPECT_STREQ(text, ">> GÜNEŞ tutulması  %37 <<");
    FormatVisibilityNote(-5, text, sizeof text);
    EXPECT_STREQ(text, ">>  AY tutulması  % 5  <<");
    FormatVisibilityNote(100, text, sizeof text);
    EXPECT_STREQ(text, ">> Ay buradan görülebilir");
    FormatVisibilityNote(-100, text, sizeof text);
    EXPECT_STREQ(text, ">> Ay Dünya'dan görülebilir");
    std::strcpy(text, "önceki");
    FormatVisibilityNote(0, text, sizeof text);
    EXPECT_STREQ(text, "");
}

// The dialog over the core as a scheduler pass leaves it.
struct Istanbul {
    ProgramState ps;
    FakeControls c;
    Istanbul(int day, int month, int year, int hour, int minute) {
        std::strcpy(ps.location.city, "İstanbul");
        std::strcpy(ps.location.country, "Türkiye");
        ps.location.latitude = 4101;
        ps.location.longitude = 2897;
        ps.workTime.day = static_cast<uint16_t>(day);
        ps.workTime.month = static_cast<uint16_t>(month);
        ps.workTime.year = static_cast<uint16_t>(year);
        ps.workTime.hour = static_cast<uint16_t>(hour);
        ps.workTime.minute = static_cast<uint16_t>(minute);
        SetLocation(ps.astro, 4101, 2897, 180);
        SetDate(ps.astro, static_cast<int16_t>(day), static_cast<int16_t>(month),
                static_cast<int16_t>(year));
        SetClock(ps.astro, static_cast<int16_t>(hour), static_cast<int16_t>(minute));
        ComputeDayTimes(ps.astro, ps.dayTimes);
    }
};

TEST(TimesDialog, FillsEveryValueFromTheCore) {
    Istanbul d(16, 6, 2024, 12, 0);
    d.ps.dayTimes[0] = 65;
    d.ps.dayTimes[9] = 1439;
    const AstroState before = d.ps.astro;
    FillTimesDialog(d.ps, d.c);

    EXPECT_EQ(d.c.caption, "İstanbul / Türkiye  (41.01°K, 28.97°D, +3.00)");
    EXPECT_EQ(d.c.text[IDC_TIME_FIRST], "01:05");
    EXPECT_EQ(d.c.text[IDC_TIME_FIRST + 4], "13:12");  // ÖĞLE of that day
    EXPECT_EQ(d.c.text[IDC_TIME_LAST], "23:59");
    EXPECT_EQ(d.c.text[IDC_CALENDAR], "16 Haziran 2024  Paz  12:00\n9 Zilhicce 1445\nArefe");
    EXPECT_EQ(d.c.text[IDC_QIBLA], "151.6°");
    EXPECT_EQ(d.c.text[IDC_SUN_ALTITUDE], " 67.7°");
    EXPECT_EQ(d.c.text[IDC_MAG_INTENSITY], " 24.8 µT");
    EXPECT_EQ(d.c.text[IDC_MOON_ILLUMINATION], "% 69.8");
    EXPECT_EQ(d.c.text[IDC_MOON_DISTANCE], "405.7 Mm");
    EXPECT_EQ(d.c.text[IDC_EQUATION_OF_TIME], "  0.8'");
    EXPECT_EQ(d.c.text[IDC_MOON_NOTE], ">> Ay Dünya'dan görülebilir");
    EXPECT_FALSE(d.c.enabled[IDC_MAG_DECLINATION]);  // the model is trusted before 2020
    for (int id = IDC_QIBLA; id <= IDC_MOON_NOTE; ++id) EXPECT_FALSE(d.c.text[id].empty()) << id;

    // The scheduler's inputs are left alone.
    EXPECT_EQ(d.ps.astro.day, before.day);
    EXPECT_EQ(d.ps.astro.clockMinutes, before.clockMinutes);
    EXPECT_EQ(d.ps.astro.zoneMinutes, before.zoneMinutes);
}

TEST(TimesDialog, OrdinaryDayAndTrustedDeclination) {
    Istanbul d(25, 6, 2019, 8, 30);
    FillTimesDialog(d.ps, d.c);
    const std::string& block = d.c.text[IDC_CALENDAR];
    EXPECT_EQ(block.rfind("25 Haziran 2019  Sal  08:30\n\n", 0), 0u) << block;
    EXPECT_EQ(block.back(), '\n');
    EXPECT_TRUE(d.c.enabled[IDC_MAG_DECLINATION]);
}

}  // namespace
}  // namespace miravel
