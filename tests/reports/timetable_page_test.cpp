#include "reports/timetable_page.h"

#include <gtest/gtest.h>

#include <array>

#include "reports/report_test_support.h"

namespace miravel {
namespace {

// The Ramazan a page shows: the one of the date's Hijri year up to its last
// day, the next one from 1 Şevval on, by each calendar (the crescent rule
// ends Ramazan 1448 a day later, on 9 March 2027).
TEST(TimetablePage, RamadanOfTheHijriYearOrTheNextOne) {
    struct Case {
        bool official;
        int day, month, year;
        RamadanSpan want;
    };
    const Case cases[] = {
        {true, 1, 1, 2027, {8, 2, 2027, 29, 1448}},  {true, 15, 2, 2027, {8, 2, 2027, 29, 1448}},
        {true, 8, 3, 2027, {8, 2, 2027, 29, 1448}},  {true, 9, 3, 2027, {28, 1, 2028, 29, 1449}},
        {false, 9, 3, 2027, {8, 2, 2027, 30, 1448}}, {false, 10, 3, 2027, {28, 1, 2028, 30, 1449}},
    };
    for (const Case& c : cases) {
        ProgramState ps = testing::PlaceState(c.day, c.month, c.year);
        ps.astro.officialHijri = c.official;
        const RamadanSpan got = FindRamadan(ps.astro, c.day, c.month, c.year);
        EXPECT_EQ(
            (std::array{got.day, got.month, got.year, got.length, got.hijriYear}),
            (std::array{c.want.day, c.want.month, c.want.year, c.want.length, c.want.hijriYear}))
            << c.official << " " << c.day << "/" << c.month << "/" << c.year;
    }
}

}  // namespace
}  // namespace miravel
