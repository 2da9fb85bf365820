#include "graphics/chart_command.h"

#include <gtest/gtest.h>

#include <tuple>

#include "core/calendar.h"
#include "core/geomag.h"
#include "core/moon.h"
#include "graphics/charts.h"
#include "graphics/test_pictures.h"

namespace miravel {
namespace {

// The scheduler's working values for Istanbul at 7 December 2026, 14:25,
// with every cache filled.
ProgramState Working() {
    ProgramState ps;
    ps.location.latitude = 4101;
    ps.location.longitude = 2897;
    ps.location.utcOffset = 180;
    ps.workTime.year = 2026;
    ps.workTime.month = 12;
    ps.workTime.day = 7;
    AstroState& s = ps.astro;
    SetLocation(s, 4101, 2897, 180);
    SetDate(s, 7, 12, 2026);
    SetClock(s, 14, 25);
    MoonAltitude(s);
    MagDeclination(s, 0);
    return ps;
}

// The values the scheduler works with, comparable at once.
auto WorkingValues(const AstroState& s) {
    return std::tie(s.day, s.month, s.year, s.clockMinutes, s.zoneMinutes, s.latitudeRad, s.lonMin,
                    s.declination, s.offset, s.moonValid, s.moonAltitude, s.geomagValid, s.magD);
}

TEST(ChartCommand, EveryChartLeavesTheSchedulersWorkingValuesAlone) {
    ASSERT_FALSE(ShippedEarth().Empty());
    SkySources sources;
    sources.earth = &ShippedEarth();
    for (int command = kChartAngles; command <= kChartYearly; ++command) {
        if (command == kChartMoon) continue;  // no moon picture here
        ProgramState ps = Working();
        const AstroState before = ps.astro;
        Chart chart;
        ASSERT_TRUE(
            ComposeChartCommand(command, 320, 200, ps, SystemZone{180, false}, sources, &chart))
            << command;
        EXPECT_FALSE(chart.items.empty()) << command;
        EXPECT_EQ(WorkingValues(ps.astro), WorkingValues(before)) << command;
    }
}

TEST(ChartCommand, PathsAndYearlyGraphHoldOffTheNextPass) {
    SkySources none;
    Chart chart;
    ProgramState ps = Working();
    ps.ticksToNextRun = 3;
    ComposeChartCommand(kChartPaths, 320, 200, ps, SystemZone{180, false}, none, &chart);
    EXPECT_EQ(ps.ticksToNextRun, 9);
    ps.ticksToNextRun = 40;
    ComposeChartCommand(kChartPaths, 320, 200, ps, SystemZone{180, false}, none, &chart);
    EXPECT_EQ(ps.ticksToNextRun, 40);
    ComposeChartCommand(kChartAngles, 320, 200, ps, SystemZone{180, false}, none, &chart);
    EXPECT_EQ(ps.ticksToNextRun, 40);
    // The yearly graph asks for a pass at the next tick when done.
    ps.ticksToNextRun = -1;
    ComposeChartCommand(kChartYearly, 320, 200, ps, SystemZone{180, false}, none, &chart);
    EXPECT_EQ(ps.ticksToNextRun, 0);
}

TEST(ChartCommand, AMapWithoutItsMaskIsNotDrawnAtAll) {
    SkySources none;
    Chart chart;
    ProgramState ps = Working();
    for (int command = kChartVakitMap; command <= kChartDeclinationMap; ++command) {
        EXPECT_TRUE(ChartNeedsLandMask(command));
        EXPECT_FALSE(ComposeChartCommand(command, 320, 200, ps, SystemZone{}, none, &chart));
        EXPECT_TRUE(chart.items.empty());
    }
    EXPECT_FALSE(ChartNeedsLandMask(kChartEarth));
    EXPECT_FALSE(ComposeChartCommand(kChartEarth, 320, 200, ps, SystemZone{}, none, &chart));
    EXPECT_FALSE(ComposeChartCommand(1040, 320, 200, ps, SystemZone{}, none, &chart));
}

TEST(Charts, AnglesChartRays) {
    AnglesValues v;
    v.sunAzimuth = 900;  // east
    v.declination = 50;
    v.declinationReliable = false;
    const Chart c = AnglesChart(1000, 800, v);
    int dashDot = 0;
    bool sunRayEast = false;
    for (const ChartPrimitive& p : c.items) {
        if (p.kind != ChartPrimitive::kLine) continue;
        // The unreliable compass: its ray and legend sample thin and dash-dot.
        if (p.color == (Rgb{255, 0, 255})) {
            EXPECT_EQ(p.style, PenStyle::kDashDot);
            EXPECT_EQ(p.penWidth, 0);
            ++dashDot;
        } else {
            EXPECT_EQ(p.style, PenStyle::kSolid);
            EXPECT_EQ(p.penWidth, 2);
        }
        if (p.color == (Rgb{255, 255, 0}) && p.x0 == 750 && p.x1 == 950 && p.y1 == 440)
            sunRayEast = true;
    }
    EXPECT_EQ(dashDot, 2);
    EXPECT_TRUE(sunRayEast);
}

}  // namespace
}  // namespace miravel
