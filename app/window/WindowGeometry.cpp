#include "app/window/WindowGeometry.h"

#include <algorithm>
#include <cmath>

namespace zorel::window {

namespace {
// GTK refuses windows beyond this; a damaged scale must not ask for one.
constexpr int kLargestSide = 32767;

int ScaledSide(int side, float scale) {
  const double v = std::round(static_cast<double>(side) * static_cast<double>(scale));
  if (!std::isfinite(v) || v < 1.0) return 1;
  return static_cast<int>(std::min<double>(v, kLargestSide));
}
} // namespace

Size SurfaceOnScreen(int width, int height, float drawScale) {
  return {ScaledSide(width, drawScale), ScaledSide(height, drawScale)};
}

Size WindowFor(const Size& surface, int menuBarHeight, const SizeLimits& limits) {
  const int w = surface.width;
  const int h = surface.height + std::max(menuBarHeight, 0);
  return {std::clamp(w, limits.min.width, std::max(limits.min.width, limits.max.width)),
          std::clamp(h, limits.min.height, std::max(limits.min.height, limits.max.height))};
}

Point CentredOn(const Area& monitor, const Size& window) {
  const int x = monitor.x + (monitor.width - window.width) / 2;
  const int y = monitor.y + (monitor.height - window.height) / 2;
  return {std::max(x, monitor.x), std::max(y, monitor.y)};
}

} // namespace zorel::window
