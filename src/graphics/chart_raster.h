// Replays a chart's primitives into an in-memory picture, so that every
// chart can be drawn without a window (miravel-cli render, the tests).
#pragma once

#include "graphics/chart.h"
#include "graphics/image.h"

namespace miravel {

// A black W x H picture with the chart's items drawn in order. Text uses the
// built-in 6 x 13 font, enlarged by a whole factor on tall screens (one step
// per 720 rows) so that labels keep about the size of a system font.
RgbImage RenderChart(const Chart& chart);

// Draws one primitive onto `target` (which is the chart's size).
void DrawPrimitive(const Chart& chart, const ChartPrimitive& p, RgbImage& target);

int TextScaleFor(int screenHeight);

}  // namespace miravel
