#pragma once

#include <string>

#include "controls/BitmapControls.h"
#include "controls/IControl.h"
#include "controls/IVectorBase.h"
#include "controls/ValueTextControl.h"

namespace igraphics {

// Slider dragging along a track. A left press jumps to the pointer's place
// on the track (not for stepped parameters). While dragging, a slider that
// keeps the pointer visible follows it; one that hides the pointer (or a
// stepped one) moves by the pointer's movement over the track length and the
// gearing (ten times finer with shift or control), snapped to the steps.
class ISliderControlBase : public IControl {
public:
  ISliderControlBase(const Rect& bounds, int paramIdx = kNoParameter,
                     EDirection direction = EDirection::Vertical, double gearing = 1.0);

  // The rectangle value 0..1 maps onto (bottom to top, or left to right).
  const Rect& TrackBounds() const { return mTrackBounds; }
  EDirection Direction() const { return mDirection; }
  double Gearing() const { return mGearing; }
  void SetHideCursorOnDrag(bool hide) { mHideCursorOnDrag = hide; }
  bool IsDragging() const { return mMouseDown; }

  void MouseDown(float x, float y, const MouseModifiers& mod) override;
  void MouseUp(float x, float y, const MouseModifiers& mod) override;
  void MouseDrag(float x, float y, float dX, float dY, const MouseModifiers& mod) override;
  void MouseWheel(float x, float y, const MouseModifiers& mod, float delta) override;

protected:
  bool ParamStepped() const;

  EDirection mDirection;
  double mGearing;
  Rect mTrackBounds;
  bool mHideCursorOnDrag = true;
  bool mMouseDown = false;
  double mMouseDragValue = 0.0;
};

// A vector slider: a handle on a track in the style's widget area, with a
// label and the value text. With an editable value a press on the value
// text opens the parameter prompt over it; its release runs the action once
// more.
class IVSliderControl : public IVValueTextControl<ISliderControlBase> {
public:
  IVSliderControl(const Rect& bounds, int paramIdx = kNoParameter, std::string label = {},
                  const VectorStyle& style = kDefaultVectorStyle, bool valueIsEditable = false,
                  EDirection direction = EDirection::Vertical, double gearing = 1.0,
                  float handleSize = 8.f, float trackSize = 2.f, bool handleInsideTrack = false,
                  float handleXOffset = 0.f, float handleYOffset = 0.f);

  Rect HandleBounds() const;

  void Draw(DrawContext& g) override;
  void BoundsChanged() override;

private:
  float mHandleSize;
  float mTrackSize;
  bool mHandleInsideTrack;
  float mHandleXOffset;
  float mHandleYOffset;
};

// A picture slider: the track picture centred in the rectangle (without one,
// a strip as wide as the handle through the centre), the handle picture on
// the track's left (or top) edge, (track length - handle length) x value
// from the bottom (or from the left).
class IBSliderControl : public ISliderControlBase {
public:
  IBSliderControl(const Rect& bounds, int paramIdx, const Bitmap& handle, const Bitmap& track = {},
                  EDirection direction = EDirection::Vertical, double gearing = 4.0);

  Rect HandleBounds() const;

  void Draw(DrawContext& g) override;
  void BoundsChanged() override;
  void ScaleChanged() override;

private:
  Bitmap mHandle;
  Bitmap mTrack;
};

} // namespace igraphics
