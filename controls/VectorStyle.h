#pragma once

#include <array>
#include <utility>

#include "render/Color.h"
#include "render/TextStyle.h"

namespace igraphics {

// The nine colour slots of a vector style and what the vector controls
// paint with each.
enum EVColor {
  kBG = 0, // background of the whole control rectangle
  kFG,     // face of buttons, knob bodies, slider handles, switch handles
  kPR,     // face while pressed
  kFR,     // frame and knob pointer
  kHL,     // overlay while the pointer is over the control; click splash
  kSH,     // shadow
  kX1,     // value arc of knobs, filled part of slider tracks
  kX2,     // inactive track of knobs, sliders and slide switches
  kX3,     // caret and selection of text entry, spare
  kNumVColors
};

using VectorColors = std::array<Color, kNumVColors>;

inline constexpr VectorColors kDefaultVectorColors = {
    COLOR_TRANSPARENT,        Color(255, 200, 200, 200), Color(255, 140, 140, 140),
    Color(255, 70, 70, 70),   Color(40, 255, 255, 255),  Color(60, 0, 0, 0),
    Color(255, 249, 206, 34), Color(255, 120, 120, 120), Color(255, 0, 120, 255)};

// The look of the vector-drawn controls: a value record, changed by
// copy-and-modify so that a family of styles derives from one base style.
struct VectorStyle {
  bool showLabel = true;
  bool showValue = true;
  VectorColors colors = kDefaultVectorColors;
  TextStyle labelText{14.f, COLOR_BLACK, "Roboto-Regular", EAlign::Center, EVAlign::Top};
  TextStyle valueText{14.f, COLOR_BLACK, "Roboto-Regular", EAlign::Center, EVAlign::Bottom};
  bool hideCursor = true; // hide the mouse pointer while the control is dragged
  bool drawFrame = true;
  bool drawShadows = true;
  bool emboss = false;
  float roundness = 0.f;      // 0 = square corners .. 1 = fully round ends
  float frameThickness = 1.f; // logical units
  float shadowOffset = 3.f;   // logical units, down and to the right
  float widgetFrac = 1.f;     // part of the widget area the widget fills
  float angle = 0.f;          // degrees; turns the widget of controls that support it

  bool operator==(const VectorStyle&) const = default;

  const Color& Colour(EVColor slot) const { return colors[static_cast<size_t>(slot)]; }

  VectorStyle WithShowLabel(bool v) const { return With(&VectorStyle::showLabel, v); }
  VectorStyle WithShowValue(bool v) const { return With(&VectorStyle::showValue, v); }
  VectorStyle WithColors(const VectorColors& v) const { return With(&VectorStyle::colors, v); }
  VectorStyle WithColor(EVColor slot, Color v) const {
    VectorStyle copy = *this;
    copy.colors[static_cast<size_t>(slot)] = v;
    return copy;
  }
  VectorStyle WithLabelText(const TextStyle& v) const { return With(&VectorStyle::labelText, v); }
  VectorStyle WithValueText(const TextStyle& v) const { return With(&VectorStyle::valueText, v); }
  VectorStyle WithHideCursor(bool v) const { return With(&VectorStyle::hideCursor, v); }
  VectorStyle WithDrawFrame(bool v) const { return With(&VectorStyle::drawFrame, v); }
  VectorStyle WithDrawShadows(bool v) const { return With(&VectorStyle::drawShadows, v); }
  VectorStyle WithEmboss(bool v) const { return With(&VectorStyle::emboss, v); }
  VectorStyle WithRoundness(float v) const { return With(&VectorStyle::roundness, v); }
  VectorStyle WithFrameThickness(float v) const { return With(&VectorStyle::frameThickness, v); }
  VectorStyle WithShadowOffset(float v) const { return With(&VectorStyle::shadowOffset, v); }
  VectorStyle WithWidgetFrac(float v) const { return With(&VectorStyle::widgetFrac, v); }
  VectorStyle WithAngle(float v) const { return With(&VectorStyle::angle, v); }

private:
  template <typename T, typename V> VectorStyle With(T VectorStyle::*field, V&& v) const {
    VectorStyle copy = *this;
    copy.*field = std::forward<V>(v);
    return copy;
  }
};

inline const VectorStyle kDefaultVectorStyle{};

} // namespace igraphics
