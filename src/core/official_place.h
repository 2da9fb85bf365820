// Where Turkey's official timetable computes a province's times.
#pragma once

#include "core/astro_state.h"

namespace miravel {

// The official tables compute each province's times at a reference point of
// their own, up to 4 km from the settlement list's coordinates of the
// province centre: enough to move one time in twenty by a minute. While it
// lives, the state of a province centre of the list (its coordinates in
// hundredths of a degree, as read from the list) holds the reference point
// instead; every other place keeps its own.
class OfficialPlace {
  public:
    explicit OfficialPlace(AstroState& s);
    ~OfficialPlace();
    OfficialPlace(const OfficialPlace&) = delete;
    OfficialPlace& operator=(const OfficialPlace&) = delete;

  private:
    AstroState& s_;
    float latitudeRad_, lonMin_;
};

}  // namespace miravel
