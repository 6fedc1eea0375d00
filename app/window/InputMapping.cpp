#include "app/window/InputMapping.h"

#include <cmath>

namespace zorel::window {

using igraphics::IKeyPress;
using igraphics::MouseModifiers;

MouseModifiers ModifiersFromState(unsigned state, unsigned button) {
  MouseModifiers mod;
  mod.L = (state & GDK_BUTTON1_MASK) != 0 || button == 1;
  mod.R = (state & GDK_BUTTON3_MASK) != 0 || button == 3;
  mod.S = (state & GDK_SHIFT_MASK) != 0;
  mod.C = (state & GDK_CONTROL_MASK) != 0;
  mod.A = (state & GDK_MOD1_MASK) != 0;
  return mod;
}

IKeyPress KeyPressFromEvent(unsigned keyval, unsigned state) {
  IKeyPress key;
  key.S = (state & GDK_SHIFT_MASK) != 0;
  key.C = (state & GDK_CONTROL_MASK) != 0;
  key.A = (state & GDK_MOD1_MASK) != 0;
  switch (keyval) {
  case GDK_KEY_BackSpace:
    key.VK = igraphics::kVK_BACK;
    return key;
  case GDK_KEY_Tab:
  case GDK_KEY_ISO_Left_Tab:
    key.VK = igraphics::kVK_TAB;
    return key;
  case GDK_KEY_Return:
  case GDK_KEY_KP_Enter:
    key.VK = igraphics::kVK_RETURN;
    return key;
  case GDK_KEY_Escape:
    key.VK = igraphics::kVK_ESCAPE;
    return key;
  case GDK_KEY_End:
  case GDK_KEY_KP_End:
    key.VK = igraphics::kVK_END;
    return key;
  case GDK_KEY_Home:
  case GDK_KEY_KP_Home:
    key.VK = igraphics::kVK_HOME;
    return key;
  case GDK_KEY_Left:
  case GDK_KEY_KP_Left:
    key.VK = igraphics::kVK_LEFT;
    return key;
  case GDK_KEY_Up:
  case GDK_KEY_KP_Up:
    key.VK = igraphics::kVK_UP;
    return key;
  case GDK_KEY_Right:
  case GDK_KEY_KP_Right:
    key.VK = igraphics::kVK_RIGHT;
    return key;
  case GDK_KEY_Down:
  case GDK_KEY_KP_Down:
    key.VK = igraphics::kVK_DOWN;
    return key;
  case GDK_KEY_Delete:
  case GDK_KEY_KP_Delete:
    key.VK = igraphics::kVK_DELETE;
    return key;
  default:
    break;
  }
  const gunichar c = gdk_keyval_to_unicode(keyval);
  // Control characters and keys without a character type nothing; a
  // shortcut with Ctrl or Alt types nothing either.
  if (c >= 0x20 && c != 0x7F && !key.C && !key.A) {
    char utf8[8] = {};
    const int n = g_unichar_to_utf8(c, utf8);
    key.utf8.assign(utf8, static_cast<size_t>(n));
    key.VK = static_cast<int>(c < 0x80 ? g_ascii_toupper(static_cast<char>(c)) : c);
  }
  return key;
}

float WheelDelta(GdkScrollDirection direction, double smoothDeltaY) {
  switch (direction) {
  case GDK_SCROLL_UP:
    return 1.f;
  case GDK_SCROLL_DOWN:
    return -1.f;
  case GDK_SCROLL_SMOOTH:
    return std::isfinite(smoothDeltaY) ? static_cast<float>(-smoothDeltaY) : 0.f;
  default:
    return 0.f; // sideways scrolling moves nothing on the surface
  }
}

bool DoubleClickDetector::IsDoubleClick(unsigned button, uint32_t timeMs, double x, double y) {
  const bool isDouble = mHavePress && button == mButton && timeMs - mTime <= mTimeMs &&
                        std::fabs(x - mX) <= mDistance && std::fabs(y - mY) <= mDistance;
  mHavePress = !isDouble;
  mButton = button;
  mTime = timeMs;
  mX = x;
  mY = y;
  return isDouble;
}

} // namespace zorel::window
