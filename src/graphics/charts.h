// The charts of the graph window (menu commands 1031 to 1039) as chart
// geometry: each returns the primitives of chart.h for a W x H screen.
//
// What stays with the Windows program: the window, the buffer, lastChart, and
// ticksToNextRun (the Paths chart and the yearly graph raise it to 9 before
// drawing; the yearly graph sets it to 0 when done, since both move the
// core's working values, which the scheduler's next pass puts back).
#pragma once

#include <cstdint>

#include "config/program_state.h"
#include "config/zone_offset.h"
#include "graphics/chart.h"
#include "graphics/sky_image.h"

namespace miravel {

enum ChartCommand : int {
    kChartAngles = 1031,          // "Açılar"
    kChartPaths = 1032,           // "Yörüngeler"
    kChartMoon = 1033,            // "Ay Görüntüsü"
    kChartEarth = 1034,           // "Yeryüzü Görüntüsü"
    kChartGlobe = 1035,           // "Yerküre Görüntüsü"
    kChartVakitMap = 1036,        // "Vakit Haritası"
    kChartQiblaMap = 1037,        // "Kıble Haritası"
    kChartDeclinationMap = 1038,  // "Manyetik Sapma Haritası"
    kChartYearly = 1039,          // "Yıllık Vakit Grafiği"
};

// The values the Angles chart shows, tenths of a degree.
struct AnglesValues {
    int16_t sunAzimuth = 0, sunAltitude = 0;
    int16_t moonAzimuth = 0, moonAltitude = 0;
    int16_t qibla = 0;
    int16_t declination = 0;
    bool declinationReliable = false;
};
// Reads them from the core at its working date, clock and location.
AnglesValues ReadAnglesValues(AstroState& s, int16_t viewAltitude);

// Azimuth dial (right) with the horizon, north, compass, sun, moon and qibla
// rays and their legend; altitude dial (left) with the horizon, sun and moon.
Chart AnglesChart(int width, int height, const AnglesValues& v);

// The sun's and the moon's course over the working date in an oblique view of
// the sky, with markers at the working clock minute. Evaluates the moon and
// the sun for every minute of the day; puts clockMinutes back, leaves the
// moon values stale.
Chart PathsChart(int width, int height, AstroState& s);

// The ten times of every day of the year of ps.workTime, days down, hours
// across, prepared day by day as the timetables are. Moves the core's date
// and location.
Chart YearlyGraph(int width, int height, ProgramState& ps, const SystemZone& system);

// A sky picture centred: the earth map over the whole screen, the moon and
// the globe squeezed into a square two thirds of the shorter side.
Chart ImageChart(int width, int height, int command, RgbImage picture);
// A world map stretched over the whole screen.
Chart MapChart(int width, int height, RgbImage map);

// Any of the nine: the core's working date, clock and location must be set
// (the scheduler's working values). Returns false for an unknown command, or
// when a picture could not be composed (a missing or unsuitable source
// bitmap), leaving a chart without items: the black screen.
bool BuildChart(int command, int width, int height, ProgramState& ps, const SystemZone& system,
                const SkySources& sources, Chart* out);

}  // namespace miravel
