#include "reports/religious_days_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reports/report_test_support.h"

namespace miravel {
namespace {

using testing::CrLfLines;
using testing::PlaceState;

std::string ReligiousDays(ProgramState ps) {
    std::string out;
    WriteReligiousDaysReport(ps, &out);
    return out;
}

TEST(ReligiousDaysReport, TitleBlockThenOneLinePerDay) {
    const std::string report = ReligiousDays(PlaceState(15, 7, 2020));
    const std::string title =
        "\r\n\r\n\r\n\t\t  2020 Yılının Önemli Dini Günleri\r\n\t\t"
        "------------------------------------\r\n\r\n";
    ASSERT_EQ(report.substr(0, title.size()), title);
    EXPECT_EQ(report.substr(report.size() - 2), "\r\n");
    for (size_t i = 0; i < report.size(); ++i) {
        if (report[i] == '\n') {
            EXPECT_EQ(report[i - 1], '\r') << "at " << i;
        }
        if (report[i] == '\r') {
            EXPECT_EQ(report[i + 1], '\n') << "at " << i;
        }
    }
    EXPECT_EQ(report.find('\f'), std::string::npos);
}

TEST(ReligiousDaysReport, Year2020) {
    const std::vector<std::string> lines = CrLfLines(ReligiousDays(PlaceState(15, 7, 2020)));
    // Title (3 blank lines, title, dashes, blank), the days, the empty rest.
    const std::vector<std::string> days(lines.begin() + 6, lines.end() - 1);
    const std::vector<std::string> expected = {
        "\t 25 Şubat      Salı        Üç Ayların Başlangıcı",
        "\t 27 Şubat      Perşembe    Regaib Gecesi",
        "\t 21 Mart       Cumartesi   Mirac Gecesi",
        "\t  7 Nisan      Salı        Berat Gecesi",
        "\t 24 Nisan      Cuma        Ramazan'ın ilk günü",
        "\t  9 Mayıs      Cumartesi   Kadir Gecesi (Şarani)",
        "\t 19 Mayıs      Salı        Kadir Gecesi (R.27)",
        "\t 24 Mayıs      Pazar       Ramazan Bayramı 1. gün",
        "\t 25 Mayıs      Pazartesi   Ramazan Bayramı 2. gün",
        "\t 26 Mayıs      Salı        Ramazan Bayramı 3. gün",
        "\t 30 Temmuz     Perşembe    Arefe",
        "\t 31 Temmuz     Cuma        Kurban Bayramı 1. gün",
        "\t  1 Ağustos    Cumartesi   Kurban Bayramı 2. gün",
        "\t  2 Ağustos    Pazar       Kurban Bayramı 3. gün",
        "\t  3 Ağustos    Pazartesi   Kurban Bayramı 4. gün",
        "\t 20 Ağustos    Perşembe    Hicri Yılbaşı",
        "\t 29 Ağustos    Cumartesi   Aşure Günü",
        "\t 28 Ekim       Çarşamba    Mevlid Gecesi",
    };
    EXPECT_EQ(days, expected);
}

TEST(ReligiousDaysReport, LeapYearReachesDay366) {
    // 10 Muharrem 1397 fell on 31 December 1976, the 366th day.
    const std::string report = ReligiousDays(PlaceState(1, 1, 1976));
    EXPECT_NE(report.find("\t 31 Aralık     Cuma        Aşure Günü\r\n"), std::string::npos);
}

TEST(ReligiousDaysReport, LeavesLocationAndZoneAndReleasesTheCountdown) {
    ProgramState ps = PlaceState(15, 7, 2020);
    ps.ticksToNextRun = 30;
    std::string out;
    WriteReligiousDaysReport(ps, &out);
    EXPECT_EQ(ps.ticksToNextRun, 0);
    EXPECT_EQ(ps.astro.zoneMinutes, 180);
    EXPECT_EQ(ps.astro.day, 31);
    EXPECT_EQ(ps.astro.month, 12);
}

}  // namespace
}  // namespace miravel
