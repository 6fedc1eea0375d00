#pragma once

#include <cmath>

namespace igraphics::detail {

// cairo turns NaN and infinite transforms into a sticky error on the whole
// context; every transform and arc goes through these checks first.
template <typename... T> bool Finite(T... v) {
  return (std::isfinite(v) && ...);
}

constexpr double kPi = 3.14159265358979323846;

// Degrees clockwise from 12 o'clock to cairo's radians from 3 o'clock.
inline double ClockRadians(double degrees) {
  return (degrees - 90.0) * kPi / 180.0;
}
inline double Radians(double degrees) {
  return degrees * kPi / 180.0;
}

} // namespace igraphics::detail
