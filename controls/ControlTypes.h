#pragma once

#include <functional>
#include <string>

namespace igraphics {

class IControl;

// A control without a parameter, a control without a tag, every value slot.
inline constexpr int kNoParameter = -1;
inline constexpr int kNoTag = -1;
inline constexpr int kAllValues = -1;

// The buttons and keys held during a mouse event.
struct MouseModifiers {
  bool L = false; // left button
  bool R = false; // right button
  bool S = false; // shift
  bool C = false; // control
  bool A = false; // alt

  // Shift or control: the fine-adjustment modifiers of knobs, sliders and
  // number boxes.
  bool Fine() const { return S || C; }
};

// Key codes of the keys the controls react to (the window maps its own key
// symbols onto these). Codes 0 and 1 are left free: the list selector
// treats them as two extra modifier states.
enum EVirtualKey {
  kVK_NONE = -1,
  kVK_BACK = 8,
  kVK_TAB = 9,
  kVK_RETURN = 13,
  kVK_ESCAPE = 27,
  kVK_END = 35,
  kVK_HOME = 36,
  kVK_LEFT = 37,
  kVK_UP = 38,
  kVK_RIGHT = 39,
  kVK_DOWN = 40,
  kVK_DELETE = 46,
};

// One key press: its code (EVirtualKey or another code) and the UTF-8 text
// it types, empty for keys that type nothing.
struct IKeyPress {
  int VK = kVK_NONE;
  std::string utf8;
  bool S = false;
  bool C = false;
  bool A = false;
};

enum class EDirection { Vertical, Horizontal };

enum class ECursor { Arrow, Hand, IBeam, SizeNWSE };

// What dragging the corner resizer changes: the draw scale, or the logical
// size of the surface.
enum class EUIResizerMode { Scale, Size };

// Called with the control after a user change, or when an animation ends.
using IActionFunction = std::function<void(IControl*)>;
// Called with the control on every redraw while its animation runs.
using IAnimationFunction = std::function<void(IControl*)>;

} // namespace igraphics
