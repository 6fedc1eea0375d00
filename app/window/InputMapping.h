#pragma once

#include <gdk/gdk.h>

#include <cstdint>

#include "controls/ControlTypes.h"

namespace zorel::window {

// GDK's view of the mouse and keyboard turned into what the controls expect.

// Held buttons and keys of an event; `button` is the button that was just
// pressed or released (0 for none), which GDK's state does not yet, or no
// longer, include.
igraphics::MouseModifiers ModifiersFromState(unsigned state, unsigned button = 0);

// A key event as the controls see it: navigation and editing keys by their
// code, every other key by the text it types (empty when it types none).
igraphics::IKeyPress KeyPressFromEvent(unsigned keyval, unsigned state);

// Wheel steps of a scroll event, positive away from the user (up), one per
// notch; smooth scrolling gives fractions.
float WheelDelta(GdkScrollDirection direction, double smoothDeltaY);

// Tells a double click from two single ones, the way the desktop's settings
// say: the second press of the same button within `timeMs` and `distance`
// pixels of the first. The press after a double click starts over, so a
// triple click is a double click and a single one.
class DoubleClickDetector {
public:
  DoubleClickDetector(unsigned timeMs, int distance) : mTimeMs(timeMs), mDistance(distance) {}
  bool IsDoubleClick(unsigned button, uint32_t timeMs, double x, double y);

private:
  unsigned mTimeMs;
  int mDistance;
  bool mHavePress = false;
  unsigned mButton = 0;
  uint32_t mTime = 0;
  double mX = 0.0;
  double mY = 0.0;
};

} // namespace zorel::window
