// A chart command (1031..1039) as the graph window runs it.
#pragma once

#include "config/program_state.h"
#include "config/zone_offset.h"
#include "graphics/chart.h"
#include "graphics/sky_image.h"

namespace miravel {

// Whether the command's picture can be drawn at all; a world map without a
// usable land mask shows nothing, not even the window.
bool ChartNeedsLandMask(int command);

// Builds chart `command` for a W x H screen from the core's working values,
// as BuildChart does, and leaves those values as it found them: the Paths
// chart and the yearly graph step the core through a day and a year, and the
// maps evaluate the sun and the field for every pixel. A chart shown during a
// minute therefore never makes the scheduler's next pass see a changed date
// and run the minute's events again.
//
// ticksToNextRun: the Paths chart and the yearly graph raise it to 9 while
// they work; the yearly graph sets it to 0 when done, so the next pass comes
// at the next tick.
bool ComposeChartCommand(int command, int width, int height, ProgramState& ps,
                         const SystemZone& system, const SkySources& sources, Chart* out);

}  // namespace miravel
