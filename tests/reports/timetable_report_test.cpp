#include "reports/timetable_report.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "reports/report_test_support.h"

namespace miravel {
namespace {

using testing::CountOf;
using testing::CrLfLines;
using testing::PlaceState;

std::string Timetable(ProgramState ps, bool yearly, SystemZone system = {}) {
    std::string out;
    WriteTimetableReport(ps, yearly, system, &out);
    return out;
}

std::vector<std::string> Split(const std::string& bytes, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at; (at = bytes.find(separator, start)) != std::string::npos; start = at + 1)
        parts.push_back(bytes.substr(start, at - start));
    parts.push_back(bytes.substr(start));
    return parts;
}

bool IsDayLine(const std::string& line) {
    return line.size() > 5 && line[0] == ' ' && line[3] == '.' && line[4] == ' ' &&
           line[2] >= '0' && line[2] <= '9' &&
           (line[1] == ' ' || (line[1] >= '1' && line[1] <= '3'));
}

// Day of month -> its line, for one table (the text between two form feeds).
std::map<int, std::string> DayLines(const std::string& table) {
    std::map<int, std::string> days;
    for (const std::string& line : CrLfLines(table)) {
        if (IsDayLine(line)) days[std::atoi(line.c_str() + 1)] = line;
    }
    return days;
}

// The three tables of a monthly report.
std::vector<std::map<int, std::string>> Tables(const std::string& report) {
    std::vector<std::string> parts = Split(report, '\f');
    EXPECT_EQ(parts.size(), 4u);
    EXPECT_EQ(parts.back(), "");
    std::vector<std::map<int, std::string>> tables;
    for (size_t i = 0; i + 1 < parts.size(); ++i)
        tables.push_back(DayLines(parts[i]));
    return tables;
}

TEST(TimetableReport, MonthlyHoldsOneHeaderAndThreeTablesEachEndedByAFormFeed) {
    const std::string report = Timetable(PlaceState(21, 6, 2020), false);
    EXPECT_EQ(CountOf(report, "\f"), 3u);
    EXPECT_EQ(report.back(), '\f');
    EXPECT_EQ(CountOf(report, "ŞEHİR"), 1u);
    EXPECT_EQ(CountOf(report, "\t\t\t\tGÜNEŞ YATAY AÇISI\r\n"), 1u);
    EXPECT_EQ(CountOf(report, "\t\t\t\tAY YATAY AÇISI\r\n"), 1u);
    for (const auto& table : Tables(report)) {
        ASSERT_EQ(table.size(), 30u);
        EXPECT_EQ(table.begin()->first, 1);
        EXPECT_EQ(table.rbegin()->first, 30);
    }
}

TEST(TimetableReport, EveryLineEndsInCrLfAndTheColumnsKeepTheirWidths) {
    const std::string report = Timetable(PlaceState(21, 6, 2020), false);
    for (size_t i = 0; i < report.size(); ++i) {
        if (report[i] == '\n') {
            EXPECT_TRUE(i > 0 && report[i - 1] == '\r') << "at " << i;
        }
        if (report[i] == '\r') {
            EXPECT_TRUE(i + 1 < report.size() && report[i + 1] == '\n') << "at " << i;
        }
    }
    const std::vector<std::string> parts = Split(report, '\f');
    ASSERT_EQ(parts.size(), 4u);
    // Timetable: the heading, the line under "ASR-I", the dashes and every day
    // line are 79 characters; the day lines carry their line break in front.
    const std::vector<std::string> lines = CrLfLines(parts[0]);
    size_t heading = 0;
    while (heading < lines.size() && lines[heading].rfind(" GÜN", 0) != 0)
        ++heading;
    ASSERT_LT(heading + 4, lines.size());
    EXPECT_EQ(lines[heading].size(), 79u);
    EXPECT_EQ(lines[heading + 1], std::string(52, ' ') + "SANİ");
    EXPECT_EQ(lines[heading + 2].size(), 79u);
    EXPECT_EQ(lines[heading + 3], "");  // an empty line before day 1
    EXPECT_EQ(lines[heading + 4].rfind("  1.   ", 0), 0u);
    for (const auto& [day, line] : DayLines(parts[0])) {
        EXPECT_EQ(line.size(), 79u) << day;
        // Blanks after the 2nd, 4th, 6th and 8th time line up with the dashes.
        for (size_t c = 5; c < line.size(); ++c)
            EXPECT_EQ(line[c] == ' ', lines[heading + 2][c] == ' ') << day << " col " << c;
    }
    EXPECT_EQ(lines.back().size(), 79u);  // day 30, no line break after it
    // Azimuth tables: nine columns of eight under a 78-character heading.
    for (int t = 1; t <= 2; ++t) {
        const std::vector<std::string> az = CrLfLines(parts[t]);
        ASSERT_GE(az.size(), 9u);
        EXPECT_EQ(az[3], t == 1 ? "\t\t\t\tGÜNEŞ YATAY AÇISI" : "\t\t\t\tAY YATAY AÇISI");
        EXPECT_EQ(az[6].size(), 78u);
        EXPECT_EQ(az[8], "");
        EXPECT_EQ(az[7],
                  " ---     -----   -----   -----   -----   -----   -----   -----   "
                  "-----   -----");
        for (const auto& [day, line] : DayLines(parts[t])) {
            EXPECT_EQ(line.size(), 77u) << day;
            for (int col = 0; col < 9; ++col) {
                const int degrees = std::atoi(line.c_str() + 10 + 8 * col);
                EXPECT_GE(degrees, 0);
                EXPECT_LT(degrees, 360);
            }
        }
    }
}

TEST(TimetableReport, DayLineHoldsTheTenTimesOfTheCore) {
    // The worked example of the prayer-time computation, İstanbul, 21 June 2020.
    const auto tables = Tables(Timetable(PlaceState(21, 6, 2020), false));
    EXPECT_EQ(tables[0].at(21),
              " 21.   03:22  05:24   06:18  12:03   13:13  17:12   18:26  20:04   20:48  22:40");
    EXPECT_EQ(tables[0].at(1).substr(0, 7), "  1.   ");
}

TEST(TimetableReport, YearlyHoldsTwelveMonthsWithTheirOwnHeaders) {
    const std::string report = Timetable(PlaceState(10, 5, 2020), true);
    EXPECT_EQ(CountOf(report, "ŞEHİR"), 12u);
    EXPECT_EQ(CountOf(report, "\f"), 12u);
    EXPECT_EQ(CountOf(report, "YATAY AÇISI"), 0u);
    const std::vector<std::string> months = Split(report, '\f');
    ASSERT_EQ(months.size(), 13u);
    static constexpr size_t kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int m = 1; m <= 12; ++m) {
        const std::string& month = months[m - 1];
        EXPECT_EQ(CountOf(month, "ŞEHİR"), 1u);
        EXPECT_NE(month.find(std::string("\t\t\tTARİH\t\t: ") + MonthName(m) + " 2020\r\n"),
                  std::string::npos)
            << m;
        const auto days = DayLines(month);
        EXPECT_EQ(days.size(), kDays[m - 1]) << m;
        EXPECT_EQ(days.rbegin()->first, static_cast<int>(kDays[m - 1])) << m;
    }
    EXPECT_EQ(months[12], "");  // nothing after December's 31st
}

TEST(TimetableReport, FebruaryHas29LinesInEveryYearDivisibleByFour) {
    for (int year : {2000, 2024, 2096}) {
        const auto tables = Tables(Timetable(PlaceState(1, 2, year), false));
        for (const auto& table : tables)
            EXPECT_EQ(table.size(), 29u) << year;
    }
    for (const auto& table : Tables(Timetable(PlaceState(1, 2, 2023), false)))
        EXPECT_EQ(table.size(), 28u);
}

TEST(TimetableReport, HeaderPrintsHemispheresAsAbsoluteValuesAndTheBaseOffset) {
    const std::string north = Timetable(PlaceState(1, 6, 2019), false);
    EXPECT_NE(north.find("\r\n\r\n\r\n\t\t\tŞEHİR\t\t: İstanbul / Türkiye\r\n"), std::string::npos);
    EXPECT_NE(north.find("\t\t\tPARALEL\t\t: 41.01° KUZEY\r\n"), std::string::npos);
    EXPECT_NE(north.find("\t\t\tMERİDYEN\t: 28.97° DOĞU\r\n"), std::string::npos);
    EXPECT_NE(north.find("\t\t\tSAAT FARKI\t: +3.00\r\n"), std::string::npos);
    EXPECT_NE(north.find("\t\t\tTARİH\t\t: Haziran 2019\r\n"), std::string::npos);
    EXPECT_NE(north.find("\t\t\tYAZ SAATİ\t: Yok\r\n"), std::string::npos);
    EXPECT_EQ(north.rfind("\r\n\r\n", 0), 0u);

    ProgramState south = PlaceState(1, 6, 2019, -3387, -7063, -330);
    const std::string southWest = Timetable(south, false);
    EXPECT_NE(southWest.find("\t\t\tPARALEL\t\t: 33.87° GÜNEY\r\n"), std::string::npos);
    EXPECT_NE(southWest.find("\t\t\tMERİDYEN\t: 70.63° BATI\r\n"), std::string::npos);
    EXPECT_NE(southWest.find("\t\t\tSAAT FARKI\t: -5.50\r\n"), std::string::npos);

    // Small values keep the field width; the summer hour is not part of it.
    ProgramState small = PlaceState(1, 6, 2019, 5, 0, 0);
    small.location.summerTime = true;
    const std::string equator = Timetable(small, false);
    EXPECT_NE(equator.find("\t\t\tPARALEL\t\t:  0.05° KUZEY\r\n"), std::string::npos);
    EXPECT_NE(equator.find("\t\t\tMERİDYEN\t:  0.00° DOĞU\r\n"), std::string::npos);
    EXPECT_NE(equator.find("\t\t\tSAAT FARKI\t: +0.00\r\n"), std::string::npos);
    EXPECT_NE(equator.find("\t\t\tYAZ SAATİ\t: Var\r\n"), std::string::npos);

    // The system's standard offset replaces the configured one.
    ProgramState system = PlaceState(1, 6, 2019);
    system.location.useSystemTimeZone = true;
    system.location.useSystemSummerTime = true;
    const std::string fromSystem = Timetable(system, false, SystemZone{120, true});
    EXPECT_NE(fromSystem.find("\t\t\tSAAT FARKI\t: +2.00\r\n"), std::string::npos);
    EXPECT_NE(fromSystem.find("\t\t\tYAZ SAATİ\t: Avrupa\r\n"), std::string::npos);
}

TEST(TimetableReport, HeaderQiblaAndDeclinationWithTheModelsReliability) {
    const std::string before = Timetable(PlaceState(1, 6, 2019), false);
    // İstanbul faces the Kaaba at about 152 degrees; the field turns compasses
    // about 5 degrees east there.
    EXPECT_NE(before.find("\t\t\tKIBLE AÇISI\t: 151."), std::string::npos);
    EXPECT_NE(before.find("\t\t\tPUSULA SAPMASI\t:   5."), std::string::npos);
    EXPECT_EQ(CountOf(before, "(yaklaşık)"), 0u);
    const std::string after = Timetable(PlaceState(1, 6, 2020), false);
    EXPECT_EQ(CountOf(after, "° (yaklaşık)\r\n\r\n\r\n GÜN"), 1u);
}

// Day lines of the three tables for one place and month under each summer
// setting: the system's rule ("Avrupa"), always on ("Var"), never ("Yok").
struct SummerRuns {
    std::vector<std::map<int, std::string>> rule, on, off;
};

SummerRuns RunSummerSettings(int month, int year, int latitude, int longitude, int offset) {
    ProgramState ps = PlaceState(1, month, year, latitude, longitude, offset);
    SummerRuns runs;
    ps.location.useSystemSummerTime = true;
    runs.rule = Tables(Timetable(ps, false));
    ps.location.useSystemSummerTime = false;
    ps.location.summerTime = true;
    runs.on = Tables(Timetable(ps, false));
    ps.location.summerTime = false;
    runs.off = Tables(Timetable(ps, false));
    return runs;
}

// With the system's summer time each table follows the summer hour from
// `switchDay` (the last Sunday) on, `before` deciding which side is which.
void ExpectSwitchOnDay(const SummerRuns& runs, int switchDay, bool summerBefore) {
    ASSERT_EQ(runs.rule.size(), 3u);
    for (int t = 0; t < 3; ++t) {
        const auto& rule = runs.rule[t];
        for (const auto& [day, line] : rule) {
            const bool summer = day < switchDay ? summerBefore : !summerBefore;
            EXPECT_EQ(line, (summer ? runs.on : runs.off)[t].at(day))
                << "table " << t << " day " << day;
            EXPECT_NE(runs.on[t].at(day), runs.off[t].at(day)) << "table " << t << " day " << day;
        }
    }
}

TEST(TimetableReport, SummerHourFromTheLastSundayOfMarchInAllThreeTables) {
    ExpectSwitchOnDay(RunSummerSettings(3, 2020, 4101, 2897, 120), 29, false);
    ExpectSwitchOnDay(RunSummerSettings(3, 2021, 4101, 2897, 120), 28, false);
}

TEST(TimetableReport, SummerHourUntilTheDayBeforeTheLastSundayOfOctober) {
    ExpectSwitchOnDay(RunSummerSettings(10, 2020, 5235, 1340, 60), 25, true);
    ExpectSwitchOnDay(RunSummerSettings(10, 2021, 5235, 1340, 60), 31, true);
}

TEST(TimetableReport, SouthOfTheEquatorTheSummerHourRunsTheOtherWay) {
    ExpectSwitchOnDay(RunSummerSettings(3, 2020, -3387, 15121, 600), 29, true);
    ExpectSwitchOnDay(RunSummerSettings(10, 2020, -3387, 15121, 600), 25, false);
}

TEST(TimetableReport, YearlyWithTheRuleHasTheSummerHourFromAprilToSeptember) {
    ProgramState ps = PlaceState(1, 1, 2020, 4101, 2897, 120);
    ps.location.useSystemSummerTime = true;
    const std::vector<std::string> rule = Split(Timetable(ps, true), '\f');
    ps.location.useSystemSummerTime = false;
    ps.location.summerTime = true;
    const std::vector<std::string> on = Split(Timetable(ps, true), '\f');
    ps.location.summerTime = false;
    const std::vector<std::string> off = Split(Timetable(ps, true), '\f');
    ASSERT_EQ(rule.size(), 13u);
    for (int m = 1; m <= 12; ++m) {
        const auto days = DayLines(rule[m - 1]);
        const auto onDays = DayLines(on[m - 1]), offDays = DayLines(off[m - 1]);
        for (const auto& [day, line] : days) {
            const bool summer =
                (m == 3 && day >= 29) || (m >= 4 && m <= 9) || (m == 10 && day < 25);
            EXPECT_EQ(line, (summer ? onDays : offDays).at(day)) << m << "/" << day;
        }
    }
}

TEST(TimetableReport, WalkEndsTheYearWithMonthThirteen) {
    ProgramState ps = PlaceState(1, 12, 2021);
    TimetableWalk walk(ps, 180, 2021);
    walk.StartMonth(12);
    int days = 0;
    do {
        walk.PrepareDay();
        ++days;
    } while (walk.NextDay());
    EXPECT_EQ(days, 31);
    EXPECT_EQ(walk.Month(), 13);
    EXPECT_EQ(walk.Day(), 1);
    EXPECT_EQ(ps.astro.day, 31);  // the core keeps the last printed day
    EXPECT_EQ(ps.astro.zoneMinutes, 180);
}

TEST(TimetableReport, CountdownIsReleasedForTheSchedulerAfterwards) {
    ProgramState ps = PlaceState(21, 6, 2020);
    ps.ticksToNextRun = 40;
    std::string out;
    WriteTimetableReport(ps, false, SystemZone{}, &out);
    EXPECT_EQ(ps.ticksToNextRun, 0);
    EXPECT_EQ(ps.astro.day, 30);  // left on the last day of the moon table
}

}  // namespace
}  // namespace miravel
