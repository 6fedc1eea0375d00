#include "controls/ButtonControls.h"

#include <algorithm>
#include <cmath>

#include "controls/ParamValues.h"

namespace igraphics {

// ---- IButtonControlBase ------------------------------------------------------

IButtonControlBase::IButtonControlBase(const Rect& bounds, IActionFunction action)
    : IControl(bounds, kNoParameter, std::move(action)) {}

void IButtonControlBase::MouseDown(float x, float y, const MouseModifiers& mod) {
  SetValue(1.0);
  MarkChanged(true);
}

void IButtonControlBase::MouseDoubleClick(float x, float y, const MouseModifiers& mod) {
  // Resetting a button to a default means nothing; the second click of a
  // fast pair is still a click.
  MouseDown(x, y, mod);
}

void IButtonControlBase::AnimationEnded() {
  SetValue(0.0);
  IControl::AnimationEnded();
}

// ---- IVButtonControl ------------------------------------------------------------

IVButtonControl::IVButtonControl(const Rect& bounds, IActionFunction action, std::string label,
                                 const VectorStyle& style, bool labelInButton, bool valueInButton)
    : IButtonControlBase(bounds, SplashClickAction),
      IVectorBase(this, style, labelInButton, valueInButton) {
  SetAnimationEndAction(std::move(action));
  mLabelStr = std::move(label);
  MakeRects(mBounds);
}

void IVButtonControl::MouseDown(float x, float y, const MouseModifiers& mod) {
  SetSplashPoint(x, y);
  IButtonControlBase::MouseDown(x, y, mod);
}

void IVButtonControl::Draw(DrawContext& g) {
  DrawBackground(g, mBounds);
  DrawPressableRectangle(g, mWidgetBounds, Value() > 0.5, mPointerOver);
  DrawSplash(g);
  DrawLabel(g);
  DrawValue(g);
}

// ---- ISwitchControlBase ----------------------------------------------------------

ISwitchControlBase::ISwitchControlBase(const Rect& bounds, int paramIdx, IActionFunction action,
                                       int numStates)
    : IControl(bounds, paramIdx, std::move(action)), mNumStates(std::max(numStates, 2)) {}

int ISwitchControlBase::NumStates() const {
  const iplug::IParam* param = GetParam();
  if (param != nullptr && param->Stepped()) return std::max(2, SteppedValueCount(*param));
  return mNumStates;
}

int ISwitchControlBase::State() const {
  const int n = NumStates();
  return std::clamp(static_cast<int>(std::lround(Value() * (n - 1))), 0, n - 1);
}

void ISwitchControlBase::MouseDown(float x, float y, const MouseModifiers& mod) {
  const int n = NumStates();
  const int next = (State() + 1) % n;
  mMouseDown = true;
  SetValue(static_cast<double>(next) / (n - 1));
  MarkChanged(true);
}

void ISwitchControlBase::MouseUp(float x, float y, const MouseModifiers& mod) {
  mMouseDown = false;
  Redraw();
}

void ISwitchControlBase::MouseDoubleClick(float x, float y, const MouseModifiers& mod) {
  MouseDown(x, y, mod);
}

// ---- IVSwitchControl --------------------------------------------------------------

IVSwitchControl::IVSwitchControl(const Rect& bounds, int paramIdx, std::string label,
                                 const VectorStyle& style, bool valueInButton, int numStates)
    : ISwitchControlBase(bounds, paramIdx, nullptr, numStates),
      IVectorBase(this, style, false, valueInButton) {
  mLabelStr = std::move(label);
  MakeRects(mBounds);
}

void IVSwitchControl::Attached() {
  UpdateValueText();
}

void IVSwitchControl::SetValue(double value, int valueIndex) {
  ISwitchControlBase::SetValue(value, valueIndex);
  UpdateValueText();
}

void IVSwitchControl::UpdateValueText() {
  if (const iplug::IParam* param = GetParam()) {
    const int n = NumStates();
    SetValueStr(ParamDisplayText(*param, static_cast<double>(State()) / (n - 1), false));
  }
}

void IVSwitchControl::Draw(DrawContext& g) {
  DrawBackground(g, mBounds);
  DrawPressableRectangle(g, mWidgetBounds, mMouseDown, mPointerOver);
  DrawLabel(g);
  DrawValue(g);
}

// ---- IVSlideSwitchControl -----------------------------------------------------------

IVSlideSwitchControl::IVSlideSwitchControl(const Rect& bounds, int paramIdx, std::string label,
                                           const VectorStyle& style, bool valueInButton,
                                           EDirection direction, int numStates)
    : IVSwitchControl(bounds, paramIdx, std::move(label), style, valueInButton, numStates),
      mDirection(direction) {}

Rect IVSlideSwitchControl::HandleBounds() const {
  const Rect track = FaceBounds(mWidgetBounds, false);
  const int n = NumStates();
  const int k = State();
  if (mDirection == EDirection::Horizontal) {
    const float w = track.W() / n;
    return Rect(track.L + k * w, track.T, track.L + (k + 1) * w, track.B);
  }
  // Vertical: the first state at the bottom, as values grow upwards.
  const float h = track.H() / n;
  return Rect(track.L, track.B - (k + 1) * h, track.R, track.B - k * h);
}

void IVSlideSwitchControl::Draw(DrawContext& g) {
  DrawBackground(g, mBounds);
  const Rect track = FaceBounds(mWidgetBounds, false);
  const float radius = CornerRadius(track);
  g.FillRoundRect(GetColor(kX2), track, radius);
  if (mStyle.drawFrame && mStyle.frameThickness > 0.f)
    g.DrawRoundRect(GetColor(kFR), track.Padded(-0.5f * mStyle.frameThickness), radius,
                    mStyle.frameThickness);
  const Rect handle = HandleBounds();
  const float handleRadius = CornerRadius(handle);
  if (mStyle.drawShadows) {
    const float off = std::max(0.f, mStyle.shadowOffset) * 0.5f;
    g.FillRoundRect(GetColor(kSH), handle.Translated(off, off), handleRadius);
  }
  g.FillRoundRect(GetColor(mMouseDown ? kPR : kX1), handle, handleRadius);
  if (mPointerOver) g.FillRoundRect(GetColor(kHL), handle, handleRadius);
  if (ValueShown() && mValueInWidget) {
    g.DrawText(mStyle.valueText.WithVAlign(EVAlign::Middle), mValueStr, handle);
  } else {
    DrawValue(g);
  }
  DrawLabel(g);
}

} // namespace igraphics
