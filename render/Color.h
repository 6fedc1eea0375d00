#pragma once

#include <algorithm>
#include <cstdint>

namespace igraphics {

// A colour as the controls give it: alpha, red, green, blue, each 0..255.
// Components outside that range are clamped when the colour is used, so a
// computed shade that overshoots never wraps around.
struct Color {
  int A = 255;
  int R = 0;
  int G = 0;
  int B = 0;

  constexpr Color() = default;
  constexpr Color(int a, int r, int g, int b) : A(a), R(r), G(g), B(b) {}

  constexpr bool operator==(const Color&) const = default;

  // A copy whose alpha is scaled by `opacity` (0..1).
  constexpr Color WithOpacity(float opacity) const {
    const float o = std::clamp(opacity, 0.0f, 1.0f);
    return {static_cast<int>(Clamped(A) * o + 0.5f), R, G, B};
  }

  static constexpr int Clamped(int v) { return std::clamp(v, 0, 255); }
};

inline constexpr Color COLOR_TRANSPARENT{0, 0, 0, 0};
inline constexpr Color COLOR_BLACK{255, 0, 0, 0};
inline constexpr Color COLOR_WHITE{255, 255, 255, 255};
inline constexpr Color COLOR_RED{255, 255, 0, 0};
inline constexpr Color COLOR_GREEN{255, 0, 255, 0};
inline constexpr Color COLOR_BLUE{255, 0, 0, 255};
inline constexpr Color COLOR_GRAY{255, 127, 127, 127};

} // namespace igraphics
