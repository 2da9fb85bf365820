#include "core/hijri.h"

#include <gtest/gtest.h>

#include <string>

#include "core/calendar.h"
#include "core/moon.h"

namespace miravel {
namespace {

struct HijriDate {
    int day, month, year;
    bool operator==(const HijriDate&) const = default;
};

std::ostream& operator<<(std::ostream& os, const HijriDate& h) {
    return os << h.day << "/" << h.month << "/" << h.year;
}

AstroState At(int day, int month, int year, int16_t lat = 4101, int16_t lon = 2897,
              int16_t zone = 180) {
    AstroState s;
    SetLocation(s, lat, lon, zone);
    SetDate(s, static_cast<int16_t>(day), static_cast<int16_t>(month), static_cast<int16_t>(year));
    return s;
}

HijriDate Hijri(AstroState& s) {
    const int day = HijriDay(s);
    return {day, HijriMonth(s), HijriYear(s)};
}

HijriDate Hijri(int day, int month, int year) {
    AstroState s = At(day, month, year);
    return Hijri(s);
}

TEST(Hijri, WorkedDates) {
    EXPECT_EQ(Hijri(24, 5, 2020), (HijriDate{1, 10, 1441}));  // 1 Şevval
    EXPECT_EQ(Hijri(23, 5, 2020), (HijriDate{30, 9, 1441}));  // 30 Ramazan
    EXPECT_EQ(Hijri(11, 3, 2024), (HijriDate{1, 9, 1445}));   // 1 Ramazan
    EXPECT_EQ(Hijri(10, 3, 2024), (HijriDate{29, 8, 1445}));  // 29 Şaban
    EXPECT_EQ(Hijri(8, 1, 2000), (HijriDate{1, 10, 1420}));   // 1 Şevval
    EXPECT_EQ(Hijri(1, 1, 2000), (HijriDate{24, 9, 1420}));   // 24 Ramazan
    EXPECT_EQ(Hijri(9, 12, 1999), (HijriDate{1, 9, 1420}));   // 1 Ramazan
    // The month count at the stopping date (8 December 1999, day -24) is 17048.
    AstroState s = At(9, 12, 1999);
    HijriDay(s);
    EXPECT_EQ(s.hijriYear * 12 + s.hijriMonth - 1, 17048);
    EXPECT_EQ(std::string(HijriMonthName(10)), "Şevval");
    EXPECT_EQ(std::string(HijriMonthName(1)), "Muharrem");
    EXPECT_EQ(std::string(HijriMonthName(12)), "Zilhicce");
    EXPECT_EQ(std::string(HijriMonthName(13)), "");
}

TEST(Hijri, DaysCountUpAndMonthsFollowThroughTwoYears) {
    // Every date is the day after the previous one, or day 1 of the next
    // month after a 29th or 30th; the month and year advance with it.
    AstroState s = At(1, 1, 2023);
    HijriDate previous = Hijri(s);
    for (int n = 2; n <= 365 + 366; ++n) {
        const int year = n > 365 ? 2024 : 2023;
        int month = 0, day = 0;
        MonthAndDay(year, n > 365 ? n - 365 : n, &month, &day);
        s = At(day, month, year);
        const HijriDate h = Hijri(s);
        if (h.day == 1) {
            EXPECT_TRUE(previous.day == 29 || previous.day == 30) << day << "/" << month;
            const HijriDate next = previous.month == 12
                                       ? HijriDate{1, 1, previous.year + 1}
                                       : HijriDate{1, previous.month + 1, previous.year};
            EXPECT_EQ(h, next) << day << "/" << month << "/" << year;
        } else {
            EXPECT_EQ(h, (HijriDate{previous.day + 1, previous.month, previous.year}))
                << day << "/" << month << "/" << year;
        }
        previous = h;
    }
}

TEST(Hijri, SameDateEverywhere) {
    // The test instant is 00:01 UT of each date, whatever the place and zone.
    for (int day = 1; day <= 31; ++day) {
        const HijriDate istanbul = Hijri(day, 8, 2021);
        AstroState tokyo = At(day, 8, 2021, 3569, 13969, 540);
        AstroState lima = At(day, 8, 2021, -1205, -7704, -300);
        AstroState pole = At(day, 8, 2021, 9000, 0, 0);
        EXPECT_EQ(Hijri(tokyo), istanbul) << day;
        EXPECT_EQ(Hijri(lima), istanbul) << day;
        EXPECT_EQ(Hijri(pole), istanbul) << day;
    }
}

TEST(Hijri, SearchKeepsTheDateAndInvalidatesTheMoon) {
    AstroState s = At(24, 5, 2020);
    SetClock(s, 20, 50);
    ComputeMoon(s);
    HijriDay(s);
    EXPECT_EQ(s.day, 24);
    EXPECT_EQ(s.month, 5);
    EXPECT_EQ(s.year, 2020);
    EXPECT_EQ(s.moonValid, 0);
    EXPECT_EQ(s.hijriValid, 1);
    // The moon getters then compute for the working minute again.
    AstroState fresh = At(24, 5, 2020);
    SetClock(fresh, 20, 50);
    EXPECT_EQ(MoonPhaseAngle(s), MoonPhaseAngle(fresh));
}

TEST(Hijri, MonthAndYearComeFromTheCacheWhileValid) {
    AstroState s = At(24, 5, 2020);
    EXPECT_EQ(HijriMonth(s), 10);
    s.hijriMonth = 3;  // marks a cached value
    EXPECT_EQ(HijriMonth(s), 3);
    SetClock(s, 10, 0);  // the clock leaves the Hijri cache alone
    EXPECT_EQ(HijriMonth(s), 3);
    SetDate(s, 23, 5, 2020);
    EXPECT_EQ(HijriMonth(s), 9);
    EXPECT_EQ(HijriYear(s), 1441);
}

TEST(Hijri, ReligiousDaysOf2020) {
    struct Case {
        int day, month;
        const char* name;
    };
    const Case cases[] = {
        {25, 2, "Üç Ayların Başlangıcı"},
        {27, 2, "Regaib Gecesi"},
        {21, 3, "Mirac Gecesi"},
        {7, 4, "Berat Gecesi"},
        {24, 4, "Ramazan'ın ilk günü"},
        {9, 5, "Kadir Gecesi (Şarani)"},
        {19, 5, "Kadir Gecesi (R.27)"},
        {23, 5, ""},
        {24, 5, "Ramazan Bayramı 1. gün"},
        {26, 5, "Ramazan Bayramı 3. gün"},
        {27, 5, ""},
        {30, 7, "Arefe"},
        {31, 7, "Kurban Bayramı 1. gün"},
        {3, 8, "Kurban Bayramı 4. gün"},
        {20, 8, "Hicri Yılbaşı"},
        {29, 8, "Aşure Günü"},
        {28, 10, "Mevlid Gecesi"},
    };
    for (const Case& c : cases) {
        AstroState s = At(c.day, c.month, 2020);
        EXPECT_EQ(std::string(ReligiousDayName(s)), c.name) << c.day << "/" << c.month;
    }
}

TEST(Hijri, RegaibWinsOverTheFirstOfRecepOnAThursday) {
    // 10 December 2026 is a Thursday and 1 Recep 1448.
    AstroState s = At(10, 12, 2026);
    EXPECT_EQ(Weekday(s), 4);
    EXPECT_EQ(Hijri(s), (HijriDate{1, 7, 1448}));
    EXPECT_EQ(std::string(ReligiousDayName(s)), "Regaib Gecesi");
}

TEST(Hijri, MonthAfterReligiousDayNameIsTheWorkingDatesOwn) {
    // On 30 Ramazan the lookup computes 1 Şevval for the next date.
    AstroState s = At(23, 5, 2020);
    EXPECT_EQ(std::string(ReligiousDayName(s)), "");
    EXPECT_EQ(s.hijriValid, 0);
    EXPECT_EQ(s.day, 23);
    EXPECT_EQ(HijriMonth(s), 9);
    EXPECT_EQ(HijriYear(s), 1441);
    EXPECT_EQ(HijriDay(s), 30);
}

}  // namespace
}  // namespace miravel
