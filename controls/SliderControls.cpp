#include "controls/SliderControls.h"

#include <algorithm>
#include <cmath>

#include "controls/IGraphics.h"
#include "controls/ParamValues.h"

namespace igraphics {

// ---- ISliderControlBase --------------------------------------------------------

ISliderControlBase::ISliderControlBase(const Rect& bounds, int paramIdx, EDirection direction,
                                       double gearing)
    : IControl(bounds, paramIdx), mDirection(direction), mGearing(gearing > 0.0 ? gearing : 1.0),
      mTrackBounds(bounds) {}

bool ISliderControlBase::ParamStepped() const {
  const iplug::IParam* param = GetParam();
  return param != nullptr && param->Stepped();
}

void ISliderControlBase::MouseDown(float x, float y, const MouseModifiers& mod) {
  if (mod.L) {
    if (!ParamStepped()) ValueFromPointer(x, y, mDirection, mTrackBounds, 0);
    if (mHideCursorOnDrag && GetUI() != nullptr) GetUI()->HideMouseCursor(true);
  }
  mMouseDragValue = Value();
  mMouseDown = true;
  IControl::MouseDown(x, y, mod);
}

void ISliderControlBase::MouseDrag(float x, float y, float dX, float dY,
                                   const MouseModifiers& mod) {
  const bool stepped = ParamStepped();
  if (!mHideCursorOnDrag && !stepped) {
    ValueFromPointer(x, y, mDirection, mTrackBounds, 0);
    mMouseDragValue = Value();
    return;
  }
  const double extent = mDirection == EDirection::Vertical ? mTrackBounds.H() : mTrackBounds.W();
  if (!(extent > 0.0)) return;
  const double gearing = mGearing * (mod.Fine() ? 10.0 : 1.0);
  const double d = mDirection == EDirection::Vertical ? -dY : dX;
  mMouseDragValue = std::clamp(mMouseDragValue + d / extent / gearing, 0.0, 1.0);
  SetValue(stepped ? SnapToSteps(GetParam(), mMouseDragValue) : mMouseDragValue);
  MarkChanged(true);
}

void ISliderControlBase::MouseWheel(float x, float y, const MouseModifiers& mod, float delta) {
  if (delta == 0.f || !std::isfinite(delta)) return;
  const double v = WheelValue(GetParam(), Value(), delta, mod.Fine());
  SetValue(v);
  MarkChanged(true);
}

void ISliderControlBase::MouseUp(float x, float y, const MouseModifiers& mod) {
  if (GetUI() != nullptr) GetUI()->HideMouseCursor(false);
  mMouseDown = false;
  MarkChanged(false);
}

// ---- IVSliderControl ---------------------------------------------------------------

IVSliderControl::IVSliderControl(const Rect& bounds, int paramIdx, std::string label,
                                 const VectorStyle& style, bool valueIsEditable,
                                 EDirection direction, double gearing, float handleSize,
                                 float trackSize, bool handleInsideTrack, float handleXOffset,
                                 float handleYOffset)
    : IVValueTextControl(style, false, valueIsEditable, false, bounds, paramIdx, direction,
                         gearing),
      mHandleSize(std::max(handleSize, 0.f)), mTrackSize(std::max(trackSize, 0.f)),
      mHandleInsideTrack(handleInsideTrack), mHandleXOffset(handleXOffset),
      mHandleYOffset(handleYOffset) {
  mLabelStr = std::move(label);
  mHideCursorOnDrag = style.hideCursor;
  mPromptDisabled = false;
  IVSliderControl::BoundsChanged();
}

void IVSliderControl::BoundsChanged() {
  const Rect widget = MakeRects(mBounds);
  // The handle's centre travels the track; inside the track it stops half a
  // handle short of each end.
  const float inset = mHandleInsideTrack ? 0.5f * mHandleSize : 0.f;
  mTrackBounds = mDirection == EDirection::Vertical ? widget.Padded(0, -inset, 0, -inset)
                                                    : widget.Padded(-inset, 0, -inset, 0);
}

Rect IVSliderControl::HandleBounds() const {
  const double v = std::clamp(Value(), 0.0, 1.0);
  const float half = 0.5f * mHandleSize;
  if (mDirection == EDirection::Vertical) {
    const float cy = mTrackBounds.B - static_cast<float>(v) * mTrackBounds.H();
    return Rect(mWidgetBounds.L, cy - half, mWidgetBounds.R, cy + half)
        .Translated(mHandleXOffset, mHandleYOffset);
  }
  const float cx = mTrackBounds.L + static_cast<float>(v) * mTrackBounds.W();
  return Rect(cx - half, mWidgetBounds.T, cx + half, mWidgetBounds.B)
      .Translated(mHandleXOffset, mHandleYOffset);
}

void IVSliderControl::Draw(DrawContext& g) {
  DrawBackground(g, mBounds);
  DrawLabel(g);
  const Rect handle = HandleBounds();
  if (mTrackSize > 0.f) {
    const bool vertical = mDirection == EDirection::Vertical;
    const Rect track = vertical ? Rect(mWidgetBounds.MW() - 0.5f * mTrackSize, mWidgetBounds.T,
                                       mWidgetBounds.MW() + 0.5f * mTrackSize, mWidgetBounds.B)
                                : Rect(mWidgetBounds.L, mWidgetBounds.MH() - 0.5f * mTrackSize,
                                       mWidgetBounds.R, mWidgetBounds.MH() + 0.5f * mTrackSize);
    g.FillRect(GetColor(kX2), track);
    const Rect filled = vertical ? Rect(track.L, handle.MH(), track.R, track.B)
                                 : Rect(track.L, track.T, handle.MW(), track.B);
    g.FillRect(GetColor(kX1), filled.Intersect(track));
  }
  if (mHandleSize > 0.f) DrawPressableRectangle(g, handle, mMouseDown, mPointerOver);
  DrawValue(g);
}

// ---- IBSliderControl ------------------------------------------------------------------

IBSliderControl::IBSliderControl(const Rect& bounds, int paramIdx, const Bitmap& handle,
                                 const Bitmap& track, EDirection direction, double gearing)
    : ISliderControlBase(bounds, paramIdx, direction, gearing), mHandle(handle), mTrack(track) {
  IBSliderControl::BoundsChanged();
}

void IBSliderControl::BoundsChanged() {
  if (mTrack.IsValid()) {
    mTrackBounds = mBounds.CentredInside(mTrack.FrameWidth(), mTrack.FrameHeight());
  } else if (mDirection == EDirection::Vertical) {
    const float w = mHandle.FrameWidth();
    mTrackBounds = Rect(mBounds.MW() - 0.5f * w, mBounds.T, mBounds.MW() + 0.5f * w, mBounds.B);
  } else {
    const float h = mHandle.FrameHeight();
    mTrackBounds = Rect(mBounds.L, mBounds.MH() - 0.5f * h, mBounds.R, mBounds.MH() + 0.5f * h);
  }
}

void IBSliderControl::ScaleChanged() {
  // Both pictures follow the screen's scale; their logical sizes stay.
  if (IGraphics* ui = GetUI()) {
    for (Bitmap* b : {&mHandle, &mTrack}) {
      if (!b->IsValid() || b->Name().empty()) continue;
      const Bitmap reloaded =
          ui->LoadBitmapResource(b->Name(), b->NumFrames(), b->FramesAreHorizontal());
      if (reloaded.IsValid()) *b = reloaded;
    }
  }
  BoundsChanged();
}

Rect IBSliderControl::HandleBounds() const {
  const double v = std::clamp(Value(), 0.0, 1.0);
  const float hw = mHandle.FrameWidth();
  const float hh = mHandle.FrameHeight();
  if (mDirection == EDirection::Vertical) {
    const float top = mTrackBounds.B - hh - static_cast<float>(v) * (mTrackBounds.H() - hh);
    return Rect::FromSize(mTrackBounds.L, top, hw, hh);
  }
  const float left = mTrackBounds.L + static_cast<float>(v) * (mTrackBounds.W() - hw);
  return Rect::FromSize(left, mTrackBounds.T, hw, hh);
}

void IBSliderControl::Draw(DrawContext& g) {
  if (mTrack.IsValid()) g.DrawBitmap(mTrack, mTrackBounds, 0);
  g.DrawBitmap(mHandle, HandleBounds(), 0);
}

} // namespace igraphics
