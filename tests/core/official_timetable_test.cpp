// The "Diyanet Uyumlu" convention against timetables the Presidency of
// Religious Affairs published, for the province rows of the shipped list.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "config/settings.h"
#include "config/settlement_list.h"
#include "core/calendar.h"
#include "core/moon.h"
#include "core/sun.h"

namespace miravel {
namespace {

// The six times the official tables show, in their column order.
constexpr int kOfficialColumns[6] = {Imsak, Gunes, Ogle, Ikindi, Aksam, Yatsi};

struct OfficialDay {
    int day, month, year;
    int minutes[6];
};

struct OfficialTable {
    std::string name;
    int row = 0;  // of the shipped settlement list
    std::vector<OfficialDay> days;
};

int ClockMinutes(const std::string& text) {
    return std::atoi(text.substr(0, 2).c_str()) * 60 + std::atoi(text.substr(3, 2).c_str());
}

OfficialTable ReadTable(const char* file) {
    OfficialTable t;
    t.name = file;
    std::ifstream in(std::filesystem::path(MIRAVEL_TEST_DATA_DIR) / "official" / file);
    std::string line;
    const std::string rowTag = "# row of the shipped settlement list: ";
    while (std::getline(in, line)) {
        if (line.rfind(rowTag, 0) == 0) t.row = std::atoi(line.c_str() + rowTag.size());
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string date, clock;
        fields >> date;
        OfficialDay d{};
        d.year = std::atoi(date.substr(0, 4).c_str());
        d.month = std::atoi(date.substr(5, 2).c_str());
        d.day = std::atoi(date.substr(8, 2).c_str());
        for (int& m : d.minutes) {
            fields >> clock;
            m = ClockMinutes(clock);
        }
        t.days.push_back(d);
    }
    return t;
}

// The record as the program holds it with the province row chosen.
ProgramState ProvinceState(int row, bool diyanet) {
    ProgramState ps;
    ps.location.useList = true;
    ps.location.listRow = row;
    LoadSettlementRow(std::filesystem::path(MIRAVEL_SOURCE_DIR) / "data" / "miravel.csv", row,
                      ps.location);
    if (diyanet) SetDiyanetPreset(ps.calc);
    ApplyCalcParams(ps);
    return ps;
}

struct Agreement {
    int times = 0, exact = 0, withinOne = 0, withinTwo = 0, worst = 0;
};

Agreement Compare(const OfficialTable& t, bool diyanet) {
    ProgramState ps = ProvinceState(t.row, diyanet);
    Agreement a;
    for (const OfficialDay& d : t.days) {
        // Turkey keeps UTC+3 all year since 2016; the list's offset is 3 hours.
        SetLocation(ps.astro, static_cast<int16_t>(ps.location.latitude),
                    static_cast<int16_t>(ps.location.longitude),
                    static_cast<int16_t>(ps.location.utcOffset));
        SetDate(ps.astro, static_cast<int16_t>(d.day), static_cast<int16_t>(d.month),
                static_cast<int16_t>(d.year));
        int32_t times[kVakitCount];
        ComputeDayTimes(ps.astro, times);
        for (int i = 0; i < 6; ++i) {
            const int diff = std::abs(times[kOfficialColumns[i] - 1] - d.minutes[i]);
            ++a.times;
            a.exact += diff == 0;
            a.withinOne += diff <= 1;
            a.withinTwo += diff <= 2;
            if (diff > a.worst) a.worst = diff;
        }
    }
    return a;
}

constexpr const char* kTables[] = {"ankara-2019.tsv", "istanbul-2025-ramazan.tsv",
                                   "istanbul-2026-ramazan.tsv", "erzurum-2024-ramazan.tsv"};

TEST(DiyanetPreset, MatchesEveryCollectedOfficialTimetable) {
    for (const char* file : kTables) {
        const OfficialTable t = ReadTable(file);
        ASSERT_GT(t.row, 0) << file;
        ASSERT_GE(t.days.size(), 5u) << file;
        const Agreement own = Compare(t, false);
        const Agreement preset = Compare(t, true);
        std::printf(
            "%-28s row %2d: %3d times; Diyanet Uyumlu %3d exact, %3d within 1 min, %3d within "
            "2 min, worst %d; own defaults %3d within 1 min, %3d within 2 min, worst %d\n",
            file, t.row, preset.times, preset.exact, preset.withinOne, preset.withinTwo,
            preset.worst, own.withinOne, own.withinTwo, own.worst);
        EXPECT_GE(preset.withinOne * 100, preset.times * 95) << file;
        EXPECT_EQ(preset.withinTwo, preset.times) << file;
    }
}

// The program's own times of every place of the shipped list through 2026,
// under the default settings and every other mode, folded into one FNV-1a
// hash: the official convention must not move a single default minute.
TEST(OwnTimes, EveryPlaceOfTheListThroughAYearIsUnchanged) {
    const std::vector<std::string> rows =
        ReadSettlementRows(std::filesystem::path(MIRAVEL_SOURCE_DIR) / "data" / "miravel.csv");
    ASSERT_GT(rows.size(), 1000u);
    uint64_t hash = 14695981039346656037ull;
    auto fold = [&hash](int32_t value) {
        for (int byte = 0; byte < 4; ++byte) {
            hash ^= static_cast<uint8_t>(value >> (8 * byte));
            hash *= 1099511628211ull;
        }
    };
    for (const std::string& row : rows) {
        ProgramState ps;
        ParseSettlementRow(row, ps.location);
        for (int mode : {4, 0, 1, 2, 3, 5}) {
            ps.calc.mode = mode;
            ApplyCalcParams(ps);
            SetLocation(ps.astro, static_cast<int16_t>(ps.location.latitude),
                        static_cast<int16_t>(ps.location.longitude),
                        static_cast<int16_t>(ps.location.utcOffset));
            // Every day under the defaults, about one a month under the other modes.
            for (int day = 0; day < 365; day += mode == 4 ? 1 : 31) {
                int d = day + 1, m = 1;
                for (const int length : {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}) {
                    if (d <= length) break;
                    d -= length;
                    ++m;
                }
                SetDate(ps.astro, static_cast<int16_t>(d), static_cast<int16_t>(m), 2026);
                int32_t times[kVakitCount];
                ComputeDayTimes(ps.astro, times);
                for (const int32_t t : times)
                    fold(t);
            }
        }
    }
    std::printf("own times of %zu places through 2026: hash %016llx\n", rows.size(),
                static_cast<unsigned long long>(hash));
    EXPECT_EQ(hash, 0xb015dfe3eef1dff4ull);
}

TEST(DiyanetPreset, AnkaraFirstOfJanuaryToTheMinute) {
    ProgramState ps = ProvinceState(6, true);
    SetLocation(ps.astro, static_cast<int16_t>(ps.location.latitude),
                static_cast<int16_t>(ps.location.longitude), 180);
    SetDate(ps.astro, 1, 1, 2019);
    int32_t t[kVakitCount];
    ComputeDayTimes(ps.astro, t);
    // 06:33 08:03 12:57 15:20 17:40 19:05 in the official table.
    EXPECT_EQ(t[Imsak - 1], 6 * 60 + 33);
    EXPECT_EQ(t[Gunes - 1], 8 * 60 + 3);
    EXPECT_EQ(t[Ogle - 1], 12 * 60 + 57);
    EXPECT_EQ(t[Ikindi - 1], 15 * 60 + 20);
    EXPECT_EQ(t[Aksam - 1], 17 * 60 + 40);
    EXPECT_EQ(t[Yatsi - 1], 19 * 60 + 5);
}

TEST(DiyanetPreset, SetsTheOfficialTemkinsAnglesAndMode) {
    CalcParams c;
    c.mode = 1;
    c.imsakAngle = -19.5f;
    SetDiyanetPreset(c);
    EXPECT_TRUE(c.diyanet);
    const int32_t expected[kVakitCount + 1] = {0, 0, -7, 10, 0, 5, 4, 5, 0, 7, 0};
    for (int v = 1; v <= kVakitCount; ++v)
        EXPECT_EQ(c.temkin[v], expected[v]) << v;
    EXPECT_EQ(c.imsakAngle, -18.0f);
    EXPECT_EQ(c.yatsiAngle, -17.0f);
    EXPECT_EQ(c.mode, 4);
    EXPECT_FALSE(c.officialHijri);  // a separate choice
}

// The official times take the sun of 00:00 UT for the whole day: what the
// core computed before (a moon evaluation, another date) must not leak in.
TEST(OfficialTimes, DoNotDependOnThePreviousComputation) {
    auto compute = [](AstroState& s) {
        SetLocation(s, 3991, 3285, 180);
        SetDate(s, 15, 8, 2019);
        int32_t t[kVakitCount];
        ComputeDayTimes(s, t);
        return std::vector<int32_t>(t, t + kVakitCount);
    };
    AstroState fresh;
    fresh.diyanetTimes = 1;
    const std::vector<int32_t> first = compute(fresh);

    AstroState used;
    used.diyanetTimes = 1;
    SetLocation(used, -3386, 15120, 600);
    SetDate(used, 21, 12, 2030);
    int32_t other[kVakitCount];
    ComputeDayTimes(used, other);
    EvaluateMoon(used, 1000);  // leaves a transit below one minute
    EXPECT_EQ(compute(used), first);
    EXPECT_EQ(compute(used), first);
}

TEST(OfficialTimes, TheSwitchAloneLeavesTheOwnArithmetic) {
    // Same temkins, angles and mode; only the arithmetic differs. Off, the
    // worked example of the program's own calculation holds.
    AstroState own;
    SetLocation(own, 4101, 2897, 180);
    SetDate(own, 21, 6, 2020);
    int32_t t[kVakitCount];
    ComputeDayTimes(own, t);
    EXPECT_EQ(t[Ogle - 1], 13 * 60 + 13);
    EXPECT_EQ(t[Aksam - 1], 20 * 60 + 48);

    AstroState official = own;
    official.diyanetTimes = 1;
    int32_t o[kVakitCount];
    ComputeDayTimes(official, o);
    // ÖĞLE is the transit plus the temkin, without the two minutes of the
    // own rule; sunset at the upper limb comes earlier than at -1 degree.
    EXPECT_EQ(o[Ogle - 1], t[Ogle - 1] - 2);
    EXPECT_LT(o[Aksam - 1], t[Aksam - 1]);
    EXPECT_GT(o[Gunes - 1], t[Gunes - 1]);
    // Mode 0 still drops every temkin.
    official.mode = 0;
    ComputeDayTimes(official, o);
    EXPECT_EQ(o[Ogle - 1], t[Ogle - 1] - 7);
}

TEST(OfficialTimes, YatsiFollowsTheModeAsBefore) {
    AstroState s;
    s.diyanetTimes = 1;
    s.mode = 5;
    s.temkin[Yatsi] = 90;
    SetLocation(s, 3991, 3285, 180);
    SetDate(s, 1, 6, 2019);
    int32_t t[kVakitCount];
    ComputeDayTimes(s, t);
    // Mode 5: Akşam's hour angle plus its temkin plus the Yatsı temkin.
    EXPECT_NEAR(t[Yatsi - 1] - t[Aksam - 1], 90, 1);
}

}  // namespace
}  // namespace miravel
