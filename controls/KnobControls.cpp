#include "controls/KnobControls.h"

#include <algorithm>
#include <cmath>

#include "controls/IGraphics.h"
#include "controls/ParamValues.h"

namespace igraphics {

namespace {
constexpr double kPi = 3.14159265358979323846;
} // namespace

// ---- IKnobControlBase ----------------------------------------------------------

IKnobControlBase::IKnobControlBase(const Rect& bounds, int paramIdx, EDirection direction,
                                   double gearing)
    : IControl(bounds, paramIdx), mGearing(gearing > 0.0 ? gearing : 1.0), mDirection(direction) {}

void IKnobControlBase::MouseDown(float x, float y, const MouseModifiers& mod) {
  mMouseDown = true;
  mMouseDragValue = Value();
  mValueAtPress = Value();
  if (mHideCursorOnDrag && GetUI() != nullptr) GetUI()->HideMouseCursor(true);
  IControl::MouseDown(x, y, mod);
  MarkChanged(true);
}

void IKnobControlBase::MouseUp(float x, float y, const MouseModifiers& mod) {
  mMouseDown = false;
  if (mHideCursorOnDrag && GetUI() != nullptr) GetUI()->HideMouseCursor(false);
  MarkChanged(false);
}

void IKnobControlBase::MouseDrag(float x, float y, float dX, float dY, const MouseModifiers& mod) {
  const Rect drag = KnobDragBounds();
  const double extent = mDirection == EDirection::Vertical ? drag.H() : drag.W();
  if (!(extent > 0.0)) return;
  const double gearing = mGearing * (mod.Fine() ? 10.0 : 1.0);
  const double d = mDirection == EDirection::Vertical ? -dY : dX;
  mMouseDragValue = std::clamp(mMouseDragValue + d / extent / gearing, 0.0, 1.0);
  SetValue(SnapToSteps(GetParam(), mMouseDragValue));
  MarkChanged(true);
}

void IKnobControlBase::MouseWheel(float x, float y, const MouseModifiers& mod, float delta) {
  if (delta == 0.f || !std::isfinite(delta)) return;
  const double v = WheelValue(GetParam(), Value(), delta, mod.Fine());
  SetValue(v);
  MarkChanged(true);
}

// ---- IVKnobControl ----------------------------------------------------------------

IVKnobControl::IVKnobControl(const Rect& bounds, int paramIdx, std::string label,
                             const VectorStyle& style, bool valueIsEditable, bool valueInWidget,
                             float a1, float a2, float aAnchor, EDirection direction,
                             double gearing, float trackSize)
    : IVValueTextControl(style, valueInWidget, valueIsEditable, true, bounds, paramIdx, direction,
                         gearing),
      mAngle1(a1), mAngle2(a2), mAnchorAngle(aAnchor), mTrackSize(std::max(trackSize, 0.f)) {
  mLabelStr = std::move(label);
  mHideCursorOnDrag = style.hideCursor;
  MakeRects(mBounds);
}

bool IVKnobControl::ContainsPoint(float x, float y) const {
  return mWidgetBounds.Contains(x, y) || OnValueText(x, y);
}

void IVKnobControl::Draw(DrawContext& g) {
  DrawBackground(g, mBounds);
  DrawLabel(g);
  const float side = std::min(mWidgetBounds.W(), mWidgetBounds.H());
  if (side > 0.f) {
    const Rect knob = mWidgetBounds.CentredInside(side, side);
    const float cx = knob.MW();
    const float cy = knob.MH();
    const float radius = 0.5f * side;
    const double v = std::clamp(Value(), 0.0, 1.0);
    const float angle = AngleForValue(v);
    if (mTrackSize > 0.f) {
      const float trackRadius = radius - 0.5f * mTrackSize;
      g.DrawArc(GetColor(kX2), cx, cy, trackRadius, mAngle1, mAngle2, mTrackSize);
      if (angle != mAnchorAngle)
        g.DrawArc(GetColor(kX1), cx, cy, trackRadius, mAnchorAngle, angle, mTrackSize);
    }
    const float gap = mTrackSize > 0.f ? std::max(2.f, 0.08f * radius) : 0.f;
    const float bodyRadius = radius - mTrackSize - gap;
    if (bodyRadius > 1.f) {
      const Rect body = knob.CentredInside(2 * bodyRadius, 2 * bodyRadius);
      DrawPressableEllipse(g, body, mMouseDown, mPointerOver);
      const Rect face = FaceBounds(body, mMouseDown);
      const float faceRadius = 0.5f * std::min(face.W(), face.H());
      const double rad = (angle - 90.0) * kPi / 180.0;
      const float px = face.MW() + static_cast<float>(std::cos(rad)) * faceRadius * 0.85f;
      const float py = face.MH() + static_cast<float>(std::sin(rad)) * faceRadius * 0.85f;
      const float tx = face.MW() + static_cast<float>(std::cos(rad)) * faceRadius * 0.3f;
      const float ty = face.MH() + static_cast<float>(std::sin(rad)) * faceRadius * 0.3f;
      g.DrawLine(GetColor(kFR), tx, ty, px, py, std::max(2.f, faceRadius * 0.08f));
    }
  }
  DrawValue(g);
}

// ---- ISVGKnobControl -----------------------------------------------------------------

ISVGKnobControl::ISVGKnobControl(const Rect& bounds, const SvgImage& svg, int paramIdx)
    : IKnobControlBase(bounds, paramIdx, EDirection::Vertical, 4.0), mSVG(svg) {}

void ISVGKnobControl::Draw(DrawContext& g) {
  const float degrees = static_cast<float>(270.0 * std::clamp(Value(), 0.0, 1.0) - 135.0);
  g.DrawRotatedSVG(mSVG, mBounds.MW(), mBounds.MH(), mBounds.W(), mBounds.H(), degrees);
}

// ---- IBKnobControl, IBKnobRotaterControl --------------------------------------------

IBKnobControl::IBKnobControl(float x, float y, const Bitmap& bitmap, int paramIdx)
    : IKnobControlBase(Rect::FromSize(x, y, bitmap.FrameWidth(), bitmap.FrameHeight()), paramIdx),
      IBitmapBase(bitmap) {}

IBKnobControl::IBKnobControl(const Rect& bounds, const Bitmap& bitmap, int paramIdx)
    : IKnobControlBase(bounds, paramIdx), IBitmapBase(bitmap) {}

void IBKnobControl::Draw(DrawContext& g) {
  g.DrawBitmapCentered(mBitmap, mBounds, mBitmap.FrameForValue(Value()));
}

namespace {
// A missing picture measures 0; the control then keeps the given rectangle
// rather than shrinking to a point nobody can click.
Rect RotaterBounds(const Rect& rect, const Bitmap& bitmap) {
  if (!bitmap.IsValid()) return rect;
  return rect.CentredInside(bitmap.FrameWidth(), bitmap.FrameHeight());
}
} // namespace

IBKnobRotaterControl::IBKnobRotaterControl(const Rect& rect, const Bitmap& bitmap, int paramIdx)
    : IBKnobControl(RotaterBounds(rect, bitmap), bitmap, paramIdx) {}

void IBKnobRotaterControl::Draw(DrawContext& g) {
  g.DrawRotatedBitmap(mBitmap, mBounds.MW(), mBounds.MH(),
                      AngleForValue(std::clamp(Value(), 0.0, 1.0)), 0);
}

} // namespace igraphics
