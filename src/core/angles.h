// Angle constants of the astronomy and the pictures, to double precision.
#pragma once

namespace miravel {

inline constexpr double kPi = 3.141592653589793;
inline constexpr double kTwoPi = 6.283185307179586;
inline constexpr double kRadPerDeg = 0.017453292519943295;
inline constexpr double kDegPerRad = 57.29577951308232;

}  // namespace miravel
