// The direction of the Kaaba from the working location.
#pragma once

#include <cstdint>

#include "core/astro_state.h"

namespace miravel {

// Initial great-circle bearing toward the Kaaba, tenths of a degree 0..3599
// from true north through east. Uses the hour-angle slot (offset).
int16_t QiblaBearing(AstroState& s);

}  // namespace miravel
