// The "Resmi Hicri Takvim" month rule against the religious days the
// Presidency of Religious Affairs published, and the default rule beside it.
#include <gtest/gtest.h>

#include <cstring>

#include "core/calendar.h"
#include "core/hijri.h"

namespace miravel {
namespace {

struct PublishedDay {
    int day, month, year;
    const char* name;  // the name this program gives that date
};

// First days of the two bayrams, 2019-2026, as published in the official
// religious-days calendars (dini günler takvimi), reported by:
//   2019 cnnturk.com/ramazan/2019-ramazan-bayrami-tatili-ne-zaman-basliyor-998337
//   2020 milliyet.com.tr/gundem/kurban-bayrami-ne-zaman-2020-...-6229236
//   2021 gazetevatan.com/gundem/kurban-bayrami-2021-ne-zaman-basliyor-...-1385059
//   2022 haberdairesi.com/guncel/2022-yilinda-hangi-gunler-resmi-tatil-...-63884h
//   2023 sabah.com.tr/galeri/yasam/berat-kandili-ne-zaman-idrak-edilecek-...-2023-...
//   2024 ekonomim.com/ramazan/2024-ramazan-ayi-ne-zaman-baslayacak-haberi-724759
//   2025 hurriyet.com.tr (2025 Ramazan imsakiyesi), ntv.com.tr (kandil günleri 2025)
//   2026 ntv.com.tr/galeri/turkiye/kandil-ne-zaman-2025-kandil-gunleri-diyanet-takvimi
constexpr PublishedDay kBayrams[] = {
    {4, 6, 2019, "Ramazan Bayramı 1. gün"},  {11, 8, 2019, "Kurban Bayramı 1. gün"},
    {24, 5, 2020, "Ramazan Bayramı 1. gün"}, {31, 7, 2020, "Kurban Bayramı 1. gün"},
    {13, 5, 2021, "Ramazan Bayramı 1. gün"}, {20, 7, 2021, "Kurban Bayramı 1. gün"},
    {2, 5, 2022, "Ramazan Bayramı 1. gün"},  {9, 7, 2022, "Kurban Bayramı 1. gün"},
    {21, 4, 2023, "Ramazan Bayramı 1. gün"}, {28, 6, 2023, "Kurban Bayramı 1. gün"},
    {10, 4, 2024, "Ramazan Bayramı 1. gün"}, {16, 6, 2024, "Kurban Bayramı 1. gün"},
    {30, 3, 2025, "Ramazan Bayramı 1. gün"}, {6, 6, 2025, "Kurban Bayramı 1. gün"},
    {20, 3, 2026, "Ramazan Bayramı 1. gün"}, {27, 5, 2026, "Kurban Bayramı 1. gün"},
};

// Every religious day of three published years (the kandil nights are named
// by the evening of the date given). Kadir Gecesi is named "(R.27)" here;
// Diyanet's "Kurban Bayramı Arifesi" is this program's "Arefe".
//   2020: milliyet.com.tr (above)
//   2024: ekonomim.com (above); 7-24haber.com/gundem/kurban-bayrami-tatili-...
//   2025: haberler.com/haberler/2025-regaib-mirac-berat-ve-mevlid-kandili-ne-18924170-haberi
//         (Regaib 2 Jan, Miraç 26 Jan, Berat 13 Feb, Mevlid 3 Sep),
//         sporx.com (Üç Ayların Başlangıcı 1 Jan, Kadir 26 Mar),
//         elipshaber.com/kandil-ne-zaman-2025-3-aylar-ne-zaman (Üç Aylar 21 Dec,
//         Regaib 25 Dec); Ramazan 1 Mar, Hicri Yılbaşı 26 Jun, Aşure 5 Jul
//         from the same calendars' Ramazan and Muharrem entries.
constexpr PublishedDay kReligiousDays[] = {
    {25, 2, 2020, "Üç Ayların Başlangıcı"},
    {27, 2, 2020, "Regaib Gecesi"},
    {21, 3, 2020, "Mirac Gecesi"},
    {7, 4, 2020, "Berat Gecesi"},
    {24, 4, 2020, "Ramazan'ın ilk günü"},
    {19, 5, 2020, "Kadir Gecesi (R.27)"},
    {30, 7, 2020, "Arefe"},
    {20, 8, 2020, "Hicri Yılbaşı"},
    {29, 8, 2020, "Aşure Günü"},
    {28, 10, 2020, "Mevlid Gecesi"},

    {11, 1, 2024, "Regaib Gecesi"},
    {12, 1, 2024, "Üç Ayların Başlangıcı"},
    {6, 2, 2024, "Mirac Gecesi"},
    {24, 2, 2024, "Berat Gecesi"},
    {11, 3, 2024, "Ramazan'ın ilk günü"},
    {5, 4, 2024, "Kadir Gecesi (R.27)"},
    {15, 6, 2024, "Arefe"},
    {7, 7, 2024, "Hicri Yılbaşı"},
    {16, 7, 2024, "Aşure Günü"},
    {14, 9, 2024, "Mevlid Gecesi"},

    {1, 1, 2025, "Üç Ayların Başlangıcı"},
    {2, 1, 2025, "Regaib Gecesi"},
    {26, 1, 2025, "Mirac Gecesi"},
    {13, 2, 2025, "Berat Gecesi"},
    {1, 3, 2025, "Ramazan'ın ilk günü"},
    {26, 3, 2025, "Kadir Gecesi (R.27)"},
    {5, 6, 2025, "Arefe"},
    {26, 6, 2025, "Hicri Yılbaşı"},
    {5, 7, 2025, "Aşure Günü"},
    {3, 9, 2025, "Mevlid Gecesi"},
    {21, 12, 2025, "Üç Ayların Başlangıcı"},
    {25, 12, 2025, "Regaib Gecesi"},
};

std::string NameOn(const PublishedDay& p, bool official, int16_t zone = 180) {
    AstroState s;
    s.officialHijri = official ? 1 : 0;
    SetLocation(s, 3992, 3285, zone);
    SetDate(s, static_cast<int16_t>(p.day), static_cast<int16_t>(p.month),
            static_cast<int16_t>(p.year));
    return ReligiousDayName(s);
}

TEST(OfficialHijri, NamesTheFirstDayOfEveryBayramAsPublished) {
    for (const PublishedDay& p : kBayrams) {
        EXPECT_EQ(NameOn(p, true), p.name) << p.day << "/" << p.month << "/" << p.year;
        // The day before is not the first day.
        PublishedDay before = p;
        --before.day;
        EXPECT_NE(NameOn(before, true), p.name) << p.day << "/" << p.month << "/" << p.year;
    }
}

TEST(OfficialHijri, NamesThePublishedReligiousDaysOfThreeYears) {
    for (const PublishedDay& p : kReligiousDays)
        EXPECT_EQ(NameOn(p, true), p.name) << p.day << "/" << p.month << "/" << p.year;
}

TEST(OfficialHijri, TheDefaultRuleStaysAsItWas) {
    // The program's own crescent rule names these bayrams a day late: that is
    // what the option is for, and the default must not change.
    EXPECT_EQ(NameOn({17, 6, 2024, ""}, false), "Kurban Bayramı 1. gün");
    EXPECT_EQ(NameOn({31, 3, 2025, ""}, false), "Ramazan Bayramı 1. gün");
    EXPECT_EQ(NameOn({24, 5, 2020, ""}, false), "Ramazan Bayramı 1. gün");
    int agree = 0;
    for (const PublishedDay& p : kBayrams)
        agree += NameOn(p, false) == p.name;
    EXPECT_EQ(agree, 14);
}

TEST(OfficialHijri, DaysRunOnWithoutGapsAndMonthsHave29Or30Days) {
    AstroState s;
    s.officialHijri = 1;
    SetLocation(s, 4101, 2897, 180);
    int previousDay = 0, previousMonth = 0, previousYear = 0, months = 0;
    for (int y = 2019; y <= 2026; ++y) {
        for (int n = 1; n <= (IsLeapYear(y) ? 366 : 365); ++n) {
            int m = 0, d = 0;
            MonthAndDay(y, n, &m, &d);
            SetDate(s, static_cast<int16_t>(d), static_cast<int16_t>(m), static_cast<int16_t>(y));
            const int day = HijriDay(s);
            const int month = HijriMonth(s), year = HijriYear(s);
            ASSERT_GE(day, 1);
            ASSERT_LE(day, 30) << d << "/" << m << "/" << y;
            if (previousDay != 0) {
                if (day == 1) {
                    ++months;
                    EXPECT_GE(previousDay, 29) << d << "/" << m << "/" << y;
                    EXPECT_EQ(month, previousMonth % 12 + 1) << d << "/" << m << "/" << y;
                    EXPECT_EQ(year, previousMonth == 12 ? previousYear + 1 : previousYear);
                } else {
                    EXPECT_EQ(day, previousDay + 1) << d << "/" << m << "/" << y;
                    EXPECT_EQ(month, previousMonth);
                    EXPECT_EQ(year, previousYear);
                }
            }
            previousDay = day;
            previousMonth = month;
            previousYear = year;
        }
    }
    EXPECT_GE(months, 97);
    EXPECT_LE(months, 99);
}

TEST(OfficialHijri, TheMonthAndYearComeFromTheWorkingDateAfterAReligiousDayLookUp) {
    AstroState s;
    s.officialHijri = 1;
    SetLocation(s, 3992, 3285, 180);
    SetDate(s, 29, 3, 2025);  // 29 Ramazan 1446; the next date is 1 Şevval
    EXPECT_STREQ(ReligiousDayName(s), "");
    EXPECT_EQ(HijriMonth(s), 9);
    EXPECT_EQ(HijriYear(s), 1446);
    EXPECT_EQ(HijriDay(s), 29);
}

TEST(OfficialHijri, OneCalendarForEveryZone) {
    // The criterion is global: the date's Hijri day is the same in Istanbul,
    // Jakarta and New York.
    for (const PublishedDay& p : kBayrams) {
        EXPECT_EQ(NameOn(p, true, 420), p.name) << p.day << "/" << p.month << "/" << p.year;
        EXPECT_EQ(NameOn(p, true, -300), p.name) << p.day << "/" << p.month << "/" << p.year;
    }
}

}  // namespace
}  // namespace miravel
