#include "controls/NumberBoxControl.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "controls/IGraphics.h"
#include "controls/ParamValues.h"

namespace igraphics {

bool IsSafeNumberFormat(const std::string& format) {
  int conversions = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    if (i + 1 < format.size() && format[i + 1] == '%') {
      ++i;
      continue;
    }
    size_t j = i + 1;
    while (j < format.size() && std::strchr("-+ #0", format[j]) != nullptr) ++j;
    while (j < format.size() && std::isdigit(static_cast<unsigned char>(format[j]))) ++j;
    if (j < format.size() && format[j] == '.') {
      ++j;
      while (j < format.size() && std::isdigit(static_cast<unsigned char>(format[j]))) ++j;
    }
    if (j >= format.size() || std::strchr("fFeEgG", format[j]) == nullptr) return false;
    ++conversions;
    i = j;
  }
  return conversions == 1;
}

IVNumberBoxControl::IVNumberBoxControl(const Rect& bounds, int paramIdx, IActionFunction action,
                                       std::string label, const VectorStyle& style,
                                       bool showButtons, double defaultValue, double minValue,
                                       double maxValue, std::string format, bool drawTriangle)
    : IContainerBase(bounds, paramIdx, std::move(action)), IVectorBase(this, style, false, true),
      mRealValue(defaultValue), mMinValue(std::min(minValue, maxValue)),
      mMaxValue(std::max(minValue, maxValue)),
      mFormat(IsSafeNumberFormat(format) ? std::move(format) : "%0.0f"), mShowButtons(showButtons),
      mDrawTriangle(drawTriangle) {
  mLabelStr = std::move(label);
  mHideCursorOnDrag = style.hideCursor;
  MakeRects(mBounds);
}

void IVNumberBoxControl::SetIncrements(double large, double fine) {
  if (std::isfinite(large)) mLargeIncrement = large;
  if (std::isfinite(fine)) mFineIncrement = fine;
}

std::string IVNumberBoxControl::FormatNumber(double value) const {
  char text[kMaxTextLength + 1] = {};
  std::snprintf(text, sizeof text, mFormat.c_str(), value);
  return text;
}

double IVNumberBoxControl::ToReal(double normalized) const {
  if (const iplug::IParam* param = GetParam()) return param->Denormalize(normalized);
  return mMinValue + normalized * (mMaxValue - mMinValue);
}

double IVNumberBoxControl::ToNormalized(double real) const {
  if (const iplug::IParam* param = GetParam()) return param->Normalize(real);
  return mMaxValue > mMinValue ? (real - mMinValue) / (mMaxValue - mMinValue) : 0.0;
}

Rect IVNumberBoxControl::LabelRect() const {
  const float t = mStyle.drawFrame ? std::max(0.f, mStyle.frameThickness) : 0.f;
  Rect inner = FaceBounds(mWidgetBounds, false).Padded(-t).Padded(-1.f);
  if (mShowButtons) inner.R = inner.L + 0.75f * inner.W();
  return inner;
}

void IVNumberBoxControl::Attached() {
  IContainerBase::Attached();
  const VectorStyle labelStyle = mStyle.WithDrawFrame(false)
                                     .WithDrawShadows(false)
                                     .WithColor(kBG, COLOR_TRANSPARENT)
                                     .WithValueText(mStyle.valueText.WithVAlign(EVAlign::Middle));
  auto label = std::make_unique<IVLabelControl>(LabelRect(), FormatNumber(mRealValue), labelStyle);
  mLabelControl = static_cast<IVLabelControl*>(AddChildControl(std::move(label)));
  if (mShowButtons) {
    auto step = [this](double direction) {
      return [this, direction](IControl*) {
        mRealValue += direction * mLargeIncrement;
        OnValueChanged(true);
      };
    };
    // The buttons always show their "+" and "-", whatever the box shows.
    const VectorStyle buttonStyle = mStyle.WithShowLabel(true).WithShowValue(false).WithLabelText(
        mStyle.labelText.WithVAlign(EVAlign::Middle));
    mIncButton = static_cast<IVButtonControl*>(
        AddChildControl(std::make_unique<IVButtonControl>(Rect(), step(1.0), "+", buttonStyle)));
    mDecButton = static_cast<IVButtonControl*>(
        AddChildControl(std::make_unique<IVButtonControl>(Rect(), step(-1.0), "-", buttonStyle)));
  }
  BoundsChanged();
  OnValueChanged(false);
}

void IVNumberBoxControl::BoundsChanged() {
  MakeRects(mBounds);
  const Rect label = LabelRect();
  if (mLabelControl != nullptr) mLabelControl->SetBounds(label);
  if (mIncButton != nullptr && mDecButton != nullptr) {
    const float t = mStyle.drawFrame ? std::max(0.f, mStyle.frameThickness) : 0.f;
    const Rect inner = FaceBounds(mWidgetBounds, false).Padded(-t);
    const Rect right(label.R + 2.f, inner.T, inner.R, inner.B);
    mIncButton->SetBounds(Rect(right.L, right.T, right.R, right.MH()));
    mDecButton->SetBounds(Rect(right.L, right.MH(), right.R, right.B));
  }
}

void IVNumberBoxControl::ScaleChanged() {
  if (const iplug::IParam* param = GetParam()) {
    mMinValue = param->Min();
    mMaxValue = param->Max();
    // The parameter's current value rather than its default: the box may be
    // created or rescaled long after the value was set, and must show it.
    mRealValue = param->Current();
    SetValue(param->NormalizedCurrent());
  }
  if (mLabelControl != nullptr) OnValueChanged(false);
}

void IVNumberBoxControl::OnValueChanged(bool notify) {
  if (std::isnan(mRealValue)) mRealValue = mMinValue;
  mRealValue = std::clamp(mRealValue, mMinValue, mMaxValue);
  if (mLabelControl != nullptr) mLabelControl->SetText(FormatNumber(mRealValue));
  SetValue(std::clamp(ToNormalized(mRealValue), 0.0, 1.0));
  if (notify && LinkedParam() >= 0) {
    MarkChanged(true);
  } else {
    Redraw();
  }
}

void IVNumberBoxControl::MouseDown(float x, float y, const MouseModifiers& mod) {
  if (mHideCursorOnDrag && GetUI() != nullptr) GetUI()->HideMouseCursor(true);
  mMouseIsDown = true;
  Redraw();
}

void IVNumberBoxControl::MouseUp(float x, float y, const MouseModifiers& mod) {
  if (GetUI() != nullptr) GetUI()->HideMouseCursor(false);
  mMouseIsDown = false;
  Redraw();
  if (mAction) mAction(this);
}

void IVNumberBoxControl::MouseDrag(float x, float y, float dX, float dY,
                                   const MouseModifiers& mod) {
  if (dY == 0.f || !std::isfinite(dY)) return;
  mRealValue -= dY * (mod.Fine() ? mFineIncrement : mLargeIncrement);
  OnValueChanged(true);
}

void IVNumberBoxControl::MouseWheel(float x, float y, const MouseModifiers& mod, float delta) {
  if (delta == 0.f || !std::isfinite(delta)) return;
  mRealValue += (mod.Fine() ? mFineIncrement : mLargeIncrement) * (delta > 0 ? 1.0 : -1.0);
  OnValueChanged(true);
}

void IVNumberBoxControl::MouseDoubleClick(float x, float y, const MouseModifiers& mod) {
  if (IsDisabled() || mLabelControl == nullptr || GetUI() == nullptr) return;
  if (!mLabelControl->Bounds().Contains(x, y)) return;
  GetUI()->OpenTextEntry(this, mLabelControl->GetTextStyle(), mLabelControl->Bounds(),
                         mLabelControl->GetText(), 0);
}

void IVNumberBoxControl::TextEntered(const std::string& text, int valueIndex) {
  mRealValue = LeadingNumber(text).value_or(0.0);
  OnValueChanged(true);
}

void IVNumberBoxControl::ApplyParamValue(double value, int valueIndex) {
  if (HoldsMouse() || valueIndex != 0) return;
  mRealValue = ToReal(value);
  OnValueChanged(false);
}

void IVNumberBoxControl::ApplyUserValue(double value, int valueIndex) {
  if (valueIndex != 0) return;
  mRealValue = ToReal(value);
  OnValueChanged(true);
}

void IVNumberBoxControl::Draw(DrawContext& g) {
  DrawBackground(g, mBounds);
  DrawLabel(g);
  DrawPressableRectangle(g, mWidgetBounds, mMouseIsDown, mPointerOver);
  if (mDrawTriangle) {
    const Rect r = LabelRect().Padded(-2.f);
    if (!r.Empty())
      g.FillTriangle(mStyle.valueText.fgColor, r.L, r.T, r.L + (r.B - r.T), r.MH(), r.L, r.B);
  }
}

} // namespace igraphics
