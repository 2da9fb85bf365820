#include "graphics/chart_command.h"

#include "graphics/charts.h"

namespace miravel {

bool ChartNeedsLandMask(int command) {
    return command >= kChartVakitMap && command <= kChartDeclinationMap;
}

bool ComposeChartCommand(int command, int width, int height, ProgramState& ps,
                         const SystemZone& system, const SkySources& sources, Chart* out) {
    const bool stepsThroughTime = command == kChartPaths || command == kChartYearly;
    if (stepsThroughTime && ps.ticksToNextRun < 9) ps.ticksToNextRun = 9;
    const AstroState working = ps.astro;
    const bool ok = BuildChart(command, width, height, ps, system, sources, out);
    ps.astro = working;
    if (command == kChartYearly) ps.ticksToNextRun = 0;
    return ok;
}

}  // namespace miravel
