#include "controls/IVectorBase.h"

#include <algorithm>
#include <cmath>

namespace igraphics {

namespace {
constexpr Color kEmbossLight{70, 255, 255, 255};
constexpr Color kEmbossDark{70, 0, 0, 0};
} // namespace

IVectorBase::IVectorBase(IControl* owner, const VectorStyle& style, bool labelInWidget,
                         bool valueInWidget)
    : mVectorOwner(owner), mStyle(style), mLabelInWidget(labelInWidget),
      mValueInWidget(valueInWidget) {}

void IVectorBase::SetStyle(const VectorStyle& style) {
  mStyle = style;
  if (mVectorOwner != nullptr) {
    mVectorOwner->BoundsChanged();
    mVectorOwner->Redraw();
  }
}

void IVectorBase::SetLabelStr(std::string label) {
  if (label == mLabelStr) return;
  mLabelStr = std::move(label);
  if (mVectorOwner != nullptr) {
    mVectorOwner->BoundsChanged(); // a label that appears or goes changes the layout
    mVectorOwner->Redraw();
  }
}

void IVectorBase::SetValueStr(std::string value) {
  if (value == mValueStr) return;
  mValueStr = std::move(value);
  if (mVectorOwner != nullptr) mVectorOwner->Redraw();
}

Rect IVectorBase::MakeRects(const Rect& bounds) {
  Rect r = bounds;
  mLabelBounds = {};
  mValueBounds = {};
  if (LabelShown() && !mLabelInWidget) {
    const float h = std::min(mStyle.labelText.size, r.H());
    mLabelBounds = r.FromTop(h);
    r.T += h;
  }
  if (ValueShown() && !mValueInWidget) {
    const float h = std::min(mStyle.valueText.size, r.H());
    mValueBounds = r.FromBottom(h);
    r.B -= h;
  }
  const float frac = std::clamp(mStyle.widgetFrac, 0.f, 1.f);
  mWidgetBounds = frac < 1.f ? r.CentredInside(r.W() * frac, r.H() * frac) : r;
  if (LabelShown() && mLabelInWidget) mLabelBounds = mWidgetBounds;
  if (ValueShown() && mValueInWidget) mValueBounds = mWidgetBounds;
  return mWidgetBounds;
}

float IVectorBase::CornerRadius(const Rect& r) const {
  return std::clamp(mStyle.roundness, 0.f, 1.f) * 0.5f * std::min(r.W(), r.H());
}

Rect IVectorBase::FaceBounds(const Rect& r, bool pressed) const {
  if (!mStyle.drawShadows) return r;
  const float off = std::max(0.f, mStyle.shadowOffset);
  const Rect face = r.Padded(0, 0, -off, -off);
  // A pressed face sinks towards its shadow.
  return pressed ? face.Translated(off * 0.5f, off * 0.5f) : face;
}

void IVectorBase::DrawBackground(DrawContext& g, const Rect& r) const {
  g.FillRect(GetColor(kBG), r);
}

void IVectorBase::DrawLabel(DrawContext& g) const {
  if (LabelShown() && !mLabelBounds.Empty()) g.DrawText(mStyle.labelText, mLabelStr, mLabelBounds);
}

void IVectorBase::DrawValue(DrawContext& g) const {
  if (ValueShown() && !mValueStr.empty() && !mValueBounds.Empty())
    g.DrawText(mStyle.valueText, mValueStr, mValueBounds);
}

void IVectorBase::DrawPressableRectangle(DrawContext& g, const Rect& r, bool pressed,
                                         bool mouseOver) const {
  const Rect face = FaceBounds(r, pressed);
  const float radius = CornerRadius(face);
  const float off = std::max(0.f, mStyle.shadowOffset);
  if (mStyle.drawShadows && !pressed)
    g.FillRoundRect(GetColor(kSH), face.Translated(off, off), radius);
  g.FillRoundRect(GetColor(pressed ? kPR : kFG), face, radius);
  if (mouseOver) g.FillRoundRect(GetColor(kHL), face, radius);
  if (mStyle.emboss) {
    const float t = std::max(1.f, mStyle.frameThickness);
    const float inset = radius * 0.3f;
    g.DrawLine(pressed ? kEmbossDark : kEmbossLight, face.L + inset, face.T + t, face.R - inset,
               face.T + t, t);
    g.DrawLine(pressed ? kEmbossLight : kEmbossDark, face.L + inset, face.B - t, face.R - inset,
               face.B - t, t);
  }
  if (mStyle.drawFrame && mStyle.frameThickness > 0.f) {
    const float t = mStyle.frameThickness;
    g.DrawRoundRect(GetColor(kFR), face.Padded(-0.5f * t), std::max(0.f, radius - 0.5f * t), t);
  }
}

void IVectorBase::DrawPressableEllipse(DrawContext& g, const Rect& r, bool pressed,
                                       bool mouseOver) const {
  const Rect face = FaceBounds(r, pressed);
  const float off = std::max(0.f, mStyle.shadowOffset);
  if (mStyle.drawShadows && !pressed) g.FillEllipse(GetColor(kSH), face.Translated(off, off));
  g.FillEllipse(GetColor(pressed ? kPR : kFG), face);
  if (mouseOver) g.FillEllipse(GetColor(kHL), face);
  if (mStyle.emboss) {
    const float t = std::max(1.f, mStyle.frameThickness);
    const float rad = 0.5f * std::min(face.W(), face.H()) - t;
    g.DrawArc(pressed ? kEmbossDark : kEmbossLight, face.MW(), face.MH(), rad, -80.f, 10.f, t);
    g.DrawArc(pressed ? kEmbossLight : kEmbossDark, face.MW(), face.MH(), rad, 100.f, 190.f, t);
  }
  if (mStyle.drawFrame && mStyle.frameThickness > 0.f) {
    const float t = mStyle.frameThickness;
    const float rad = 0.5f * std::min(face.W(), face.H()) - 0.5f * t;
    if (rad > 0.f) g.DrawCircle(GetColor(kFR), face.MW(), face.MH(), rad, t);
  }
}

void IVectorBase::DrawSplash(DrawContext& g) const {
  if (!(mSplashRadius > 0.f) || g.Cairo() == nullptr) return;
  // Narrows the control's clip to the widget for the splash only.
  cairo_t* cr = g.Cairo();
  cairo_save(cr);
  cairo_rectangle(cr, mWidgetBounds.L, mWidgetBounds.T, mWidgetBounds.W(), mWidgetBounds.H());
  cairo_clip(cr);
  g.FillCircle(GetColor(kHL), mSplashX, mSplashY, mSplashRadius);
  cairo_restore(cr);
}

void IVectorBase::StartSplash() {
  if (mVectorOwner == nullptr) return;
  mSplashRadius = 0.f;
  const float maxRadius = std::hypot(mWidgetBounds.W(), mWidgetBounds.H());
  mVectorOwner->StartAnimation(
      [this, maxRadius](IControl* c) {
        const double progress = c->AnimationProgress();
        if (progress > 1.0) {
          mSplashRadius = 0.f;
          c->AnimationEnded();
          return;
        }
        mSplashRadius = static_cast<float>(std::max(0.0, progress)) * maxRadius;
      },
      kClickAnimationMs);
}

void SplashClickAction(IControl* control) {
  if (auto* vector = dynamic_cast<IVectorBase*>(control)) vector->StartSplash();
}

} // namespace igraphics
