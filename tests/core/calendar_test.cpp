#include "core/calendar.h"

#include <gtest/gtest.h>

#include <string>

namespace miravel {
namespace {

TEST(Calendar, DayNumberAroundLeapDaysAndYearEnds) {
    EXPECT_EQ(DayNumberOf(1, 1, 2000), 0);
    EXPECT_EQ(DayNumberOf(29, 2, 2000), 59);
    EXPECT_EQ(DayNumberOf(1, 3, 2000), 60);
    EXPECT_EQ(DayNumberOf(31, 12, 2000), 365);
    EXPECT_EQ(DayNumberOf(1, 1, 2001), 366);
    EXPECT_EQ(DayNumberOf(31, 12, 1999), -1);
    EXPECT_EQ(DayNumberOf(1, 3, 2001), 366 + 59);
    // A day past the month's end is plain arithmetic: 32 December is 1 January.
    EXPECT_EQ(DayNumberOf(32, 12, 2023), DayNumberOf(1, 1, 2024));
    EXPECT_EQ(DayNumberOf(0, 3, 2024), DayNumberOf(29, 2, 2024));
}

TEST(Calendar, WeekdayMondayFirst) {
    EXPECT_EQ(WeekdayOf(1, 1, 2000), 6);
    EXPECT_EQ(WeekdayOf(3, 1, 2000), 1);
    EXPECT_EQ(WeekdayOf(2, 1, 2000), 7);
    EXPECT_EQ(WeekdayOf(7, 12, 2026), 1);
    EXPECT_EQ(WeekdayOf(1, 1, 1901), 2);  // a Tuesday
    EXPECT_EQ(WeekdayOf(31, 12, 2099), 4);
    EXPECT_EQ(std::string(WeekdayName(5)), "Cuma");
    EXPECT_EQ(std::string(ShortWeekdayName(6)), "Cts");
    EXPECT_EQ(std::string(MonthName(12)), "Aralık");
}

TEST(Calendar, MonthAndDayCatchesTheDayPastTheYear) {
    int m = 0, d = 0;
    EXPECT_EQ(MonthAndDay(2024, 60, &m, &d), 60);
    EXPECT_EQ(m, 2);
    EXPECT_EQ(d, 29);
    EXPECT_EQ(MonthAndDay(2023, 60, &m, &d), 90);
    EXPECT_EQ(m, 3);
    EXPECT_EQ(d, 1);
    MonthAndDay(2023, 366, &m, &d);
    EXPECT_EQ(m, 13);
    EXPECT_EQ(d, 1);
    MonthAndDay(2024, 366, &m, &d);
    EXPECT_EQ(m, 12);
    EXPECT_EQ(d, 31);
    MonthAndDay(2024, 367, &m, &d);
    EXPECT_EQ(m, 13);
    EXPECT_EQ(d, 1);
    // Every day of a leap year maps back to itself.
    for (int n = 1; n <= 366; ++n) {
        MonthAndDay(2024, n, &m, &d);
        EXPECT_EQ(DayOfYearOf(d, m, 2024), n);
    }
}

TEST(Calendar, SettersClearOnlyTheCachesTheyInvalidate) {
    AstroState s;
    s.hijriValid = s.moonValid = s.geomagValid = 1;
    SetClock(s, 13, 5);
    EXPECT_EQ(s.clockMinutes, 13 * 60 + 5);
    EXPECT_EQ(s.moonValid, 0);
    EXPECT_EQ(s.hijriValid, 1);
    EXPECT_EQ(s.geomagValid, 1);
    SetDate(s, 1, 2, 2020);
    EXPECT_EQ(s.hijriValid + s.geomagValid, 0);
    s.hijriValid = s.moonValid = s.geomagValid = 1;
    SetLocation(s, 4101, 2897, 180);
    EXPECT_EQ(s.hijriValid + s.moonValid + s.geomagValid, 0);
    EXPECT_FLOAT_EQ(s.lonMin, 115.88f);
}

TEST(Calendar, SummerTimeSwitchDays) {
    // 2021: last Sunday of March is the 28th, of October the 31st.
    EXPECT_FALSE(SummerTimeRule(27, 3, 2021, false));
    EXPECT_TRUE(SummerTimeRule(28, 3, 2021, false));
    EXPECT_TRUE(SummerTimeRule(30, 10, 2021, false));
    EXPECT_FALSE(SummerTimeRule(31, 10, 2021, false));
    EXPECT_TRUE(SummerTimeRule(15, 7, 2021, false));
    EXPECT_FALSE(SummerTimeRule(15, 1, 2021, false));
    // Reversed in the southern hemisphere.
    EXPECT_TRUE(SummerTimeRule(27, 3, 2021, true));
    EXPECT_FALSE(SummerTimeRule(28, 3, 2021, true));
    EXPECT_TRUE(SummerTimeRule(15, 1, 2021, true));
    EXPECT_TRUE(SummerTimeRule(31, 10, 2021, true));
    // 2020: 29 March and 25 October.
    EXPECT_FALSE(SummerTimeRule(28, 3, 2020, false));
    EXPECT_TRUE(SummerTimeRule(29, 3, 2020, false));
    EXPECT_FALSE(SummerTimeRule(25, 10, 2020, false));
}

}  // namespace
}  // namespace miravel
