#include "reports/report_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "config/file_access.h"
#include "reports/report_test_support.h"
#include "reports/timetable_page.h"

namespace miravel {
namespace {

namespace fs = std::filesystem;
using testing::PlaceState;

class ReportFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("miravel-report-" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

std::string ReadBytes(const fs::path& path) {
    std::string bytes;
    EXPECT_EQ(ReadWholeFile(path, &bytes), FileRead::Ok) << path;
    return bytes;
}

TEST(ReportFile, PathIsTheProgramsWithTxt) {
    EXPECT_EQ(ReportPathFor("C:/Program Files/Miravel/miravel.exe"),
              fs::path("C:/Program Files/Miravel/miravel.txt"));
    EXPECT_EQ(ReportPathFor("miravel"), fs::path("miravel.txt"));
    // Not the program's name with "html": that is the manual's page.
    EXPECT_EQ(PagePathFor("C:/Miravel/miravel.exe"), fs::path("C:/Miravel/miravel-imsakiye.html"));
}

// One complete monthly report for İstanbul: June 2020, +3 hours, no summer
// time, default parameters. When it was made, the layout was checked against
// the report's rules, the day lines against the times the command line
// prints for those dates, the qibla (151.6°) and declination (5.6° E) against
// published values, and the sun and moon azimuths of the 15th, 21st and 30th
// against an independent low-precision computation (all within one degree).
TEST(ReportFile, MonthlyIstanbulMatchesTheGoldenFile) {
    ProgramState ps = PlaceState(21, 6, 2020);
    const std::string golden =
        ReadBytes(fs::path(MIRAVEL_TEST_DATA_DIR) / "reports" / "istanbul_2020_06_monthly.txt");
    EXPECT_EQ(BuildReport(ps, ReportKind::Monthly, SystemZone{}), golden);
}

TEST_F(ReportFileTest, WritesTheBytesAndOverwritesTheLastReport) {
    const fs::path path = dir_ / "miravel.txt";
    ProgramState ps = PlaceState(15, 7, 2020);
    ASSERT_TRUE(WriteReportFile(ps, ReportKind::Yearly, path, SystemZone{}));
    ProgramState again = PlaceState(15, 7, 2020);
    ASSERT_TRUE(WriteReportFile(again, ReportKind::ReligiousDays, path, SystemZone{}));
    ProgramState fresh = PlaceState(15, 7, 2020);
    EXPECT_EQ(ReadBytes(path), BuildReport(fresh, ReportKind::ReligiousDays, SystemZone{}));
    EXPECT_EQ(again.ticksToNextRun, 0);
}

TEST_F(ReportFileTest, FileThatCannotBeOpenedLeavesEverythingAsItWas) {
    ProgramState ps = PlaceState(15, 7, 2020);
    ps.ticksToNextRun = 42;
    // A folder stands where the file should go.
    EXPECT_FALSE(WriteReportFile(ps, ReportKind::Monthly, dir_, SystemZone{}));
    EXPECT_FALSE(
        WriteReportFile(ps, ReportKind::Monthly, dir_ / "missing" / "miravel.txt", SystemZone{}));
    EXPECT_EQ(ps.ticksToNextRun, 42);
    EXPECT_EQ(ps.astro.day, 15);
    EXPECT_EQ(ps.astro.month, 7);
    bool opened = true;
    EXPECT_FALSE(WriteReportFile(ps, ReportKind::Yearly, dir_, SystemZone{}, &opened));
    EXPECT_FALSE(opened);  // nothing to show
}

#ifndef _WIN32
// A file that opens but cannot take the bytes: the report is still written as
// far as it goes and counts as opened (the viewer shows what is there), but
// not as complete.
TEST(ReportFile, WriteErrorIsNotSuccessButTheFileWasOpened) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    ProgramState ps = PlaceState(15, 7, 2020);
    ps.ticksToNextRun = 42;
    bool opened = false;
    EXPECT_FALSE(WriteReportFile(ps, ReportKind::Yearly, "/dev/full", SystemZone{}, &opened));
    EXPECT_TRUE(opened);
    EXPECT_EQ(ps.ticksToNextRun, 0);
}
#endif

}  // namespace
}  // namespace miravel
