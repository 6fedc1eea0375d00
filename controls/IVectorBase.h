#pragma once

#include <string>

#include "controls/IControl.h"
#include "controls/VectorStyle.h"

namespace igraphics {

// The part the vector-drawn controls share: a VectorStyle, a label and a
// value text, the layout of label, widget and value inside the control's
// rectangle, and the drawing of pressable shapes, texts and the click
// splash.
//
// Layout: the label takes a strip as high as its text at the top, the value
// one at the bottom (unless either is drawn inside the widget, or hidden);
// the widget gets the rest, shrunk about its centre to the style's widget
// fraction.
class IVectorBase {
public:
  IVectorBase(IControl* owner, const VectorStyle& style, bool labelInWidget = false,
              bool valueInWidget = false);
  virtual ~IVectorBase() = default;

  const VectorStyle& GetStyle() const { return mStyle; }
  // Replaces the style and lays the control out again.
  void SetStyle(const VectorStyle& style);
  const Color& GetColor(EVColor slot) const { return mStyle.Colour(slot); }
  void SetLabelStr(std::string label);
  const std::string& GetLabelStr() const { return mLabelStr; }
  void SetValueStr(std::string value);
  const std::string& GetValueStr() const { return mValueStr; }

  // Computes the label, widget and value rectangles; returns the widget.
  Rect MakeRects(const Rect& bounds);
  const Rect& WidgetBounds() const { return mWidgetBounds; }
  const Rect& LabelBounds() const { return mLabelBounds; }
  const Rect& ValueBounds() const { return mValueBounds; }
  bool LabelShown() const { return mStyle.showLabel && !mLabelStr.empty(); }
  bool ValueShown() const { return mStyle.showValue; }

  float CornerRadius(const Rect& r) const;
  // The face of a pressable shape inside r, with room for its shadow.
  Rect FaceBounds(const Rect& r, bool pressed) const;

  void DrawBackground(DrawContext& g, const Rect& r) const;
  void DrawLabel(DrawContext& g) const;
  void DrawValue(DrawContext& g) const;
  // A button face: shadow (unless pressed), fill (pressed or not), pointer
  // highlight, emboss and frame, as the style says.
  void DrawPressableRectangle(DrawContext& g, const Rect& r, bool pressed, bool mouseOver) const;
  void DrawPressableEllipse(DrawContext& g, const Rect& r, bool pressed, bool mouseOver) const;
  // The growing circle of the click animation, kept inside the widget.
  void DrawSplash(DrawContext& g) const;

  void SetSplashPoint(float x, float y) { mSplashX = x, mSplashY = y; }
  void SetSplashRadius(float r) { mSplashRadius = r; }
  float SplashRadius() const { return mSplashRadius; }
  // The default action of vector buttons: a splash at the splash point (the
  // press position) that grows for 100 ms; the animation's end runs the
  // control's animation-end action.
  void StartSplash();

protected:
  IControl* mVectorOwner;
  VectorStyle mStyle;
  bool mLabelInWidget;
  bool mValueInWidget;
  std::string mLabelStr;
  std::string mValueStr;
  Rect mWidgetBounds;
  Rect mLabelBounds;
  Rect mValueBounds;
  float mSplashX = 0.f;
  float mSplashY = 0.f;
  float mSplashRadius = 0.f;
};

// Duration of the click animation of vector buttons.
inline constexpr double kClickAnimationMs = 100.0;

// The action vector buttons start with: the splash animation.
void SplashClickAction(IControl* control);

} // namespace igraphics
