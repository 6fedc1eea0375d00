#pragma once

namespace zorel::window {

// Sizes and places of the main window, in GTK's logical pixels: the pixels
// on screen are these times the monitor's scale factor, which GTK applies,
// so a minimum of 640 x 400 is 1280 x 800 pixels on a scale-2 monitor.

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

struct Area {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The smallest and largest window the editor allows (its configuration).
struct SizeLimits {
  Size min{640, 400};
  Size max{5760, 3600};
};

// The surface on screen: its logical size times the draw scale, in whole
// pixels (1920 x 1200 at 0.5 is 960 x 600).
Size SurfaceOnScreen(int width, int height, float drawScale);

// The window that fits the surface under the menu bar exactly, kept within
// the limits (a surface smaller than the minimum leaves a border of
// background; one larger than the maximum is cut).
Size WindowFor(const Size& surface, int menuBarHeight, const SizeLimits& limits);

// The top-left corner that centres `window` on `monitor`; a window larger
// than the monitor keeps its top-left corner (and the menu) on it.
Point CentredOn(const Area& monitor, const Size& window);

} // namespace zorel::window
