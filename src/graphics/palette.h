// The chart palette, shared by the charts and the world maps.
#pragma once

#include "core/astro_state.h"
#include "graphics/image.h"

namespace miravel {

inline constexpr int kChartPaletteSize = 13;
inline constexpr Rgb kChartPalette[kChartPaletteSize] = {
    {0, 0, 0},       {64, 64, 64}, {0, 0, 255},  {255, 128, 0},  {255, 255, 128},
    {0, 0, 0},       {0, 0, 128},  {128, 64, 0}, {128, 128, 64}, {128, 0, 192},
    {192, 192, 192}, {0, 255, 0},  {0, 192, 0},
};

// Colour of each time in the yearly graph, by Vakit (index 0 unused).
inline constexpr int kVakitPaletteIndex[kVakitCount + 1] = {0, 9, 2, 3, 7, 4, 11, 12, 3, 2, 9};

inline constexpr Rgb ChartColor(int index) {
    return index >= 0 && index < kChartPaletteSize ? kChartPalette[index] : Rgb{};
}

}  // namespace miravel
