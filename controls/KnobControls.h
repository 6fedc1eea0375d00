#pragma once

#include <string>

#include "controls/BitmapControls.h"
#include "controls/IControl.h"
#include "controls/IVectorBase.h"
#include "controls/ValueTextControl.h"
#include "render/SvgImage.h"

namespace igraphics {

// Knob dragging. Each drag step moves the value by d / e / g: d the pointer
// movement in the knob's direction (up for vertical knobs, right for
// horizontal ones), e the knob's extent that way, g the gearing (ten times
// larger with shift or control). The unsnapped result is kept as the drag
// value, so a slow drag still crosses the steps of a stepped parameter; the
// value set is snapped to them. The wheel moves 0.01 per unit (0.001 fine),
// or one step of a stepped parameter per event.
class IKnobControlBase : public IControl {
public:
  IKnobControlBase(const Rect& bounds, int paramIdx = kNoParameter,
                   EDirection direction = EDirection::Vertical, double gearing = 4.0);

  double Gearing() const { return mGearing; }
  void SetGearing(double gearing) { mGearing = gearing > 0.0 ? gearing : 1.0; }
  EDirection Direction() const { return mDirection; }
  void SetHideCursorOnDrag(bool hide) { mHideCursorOnDrag = hide; }
  bool IsDragging() const { return mMouseDown; }
  double ValueAtPress() const { return mValueAtPress; }

  void MouseDown(float x, float y, const MouseModifiers& mod) override;
  void MouseUp(float x, float y, const MouseModifiers& mod) override;
  void MouseDrag(float x, float y, float dX, float dY, const MouseModifiers& mod) override;
  void MouseWheel(float x, float y, const MouseModifiers& mod, float delta) override;

protected:
  // The extent the drag is measured against.
  virtual Rect KnobDragBounds() const { return mBounds; }

  double mGearing;
  EDirection mDirection;
  bool mHideCursorOnDrag = true;
  bool mMouseDown = false;
  double mMouseDragValue = 0.0;
  double mValueAtPress = 0.0;
};

// A vector knob: an arc track with the value arc from its anchor angle, a
// body and a pointer, with a label above and the parameter's value text
// below. Only the knob and the value text take the mouse; a press on the
// value text never turns the knob.
class IVKnobControl : public IVValueTextControl<IKnobControlBase> {
public:
  IVKnobControl(const Rect& bounds, int paramIdx = kNoParameter, std::string label = {},
                const VectorStyle& style = kDefaultVectorStyle, bool valueIsEditable = false,
                bool valueInWidget = false, float a1 = -135.f, float a2 = 135.f,
                float aAnchor = -135.f, EDirection direction = EDirection::Vertical,
                double gearing = 4.0, float trackSize = 2.f);

  float AngleForValue(double value) const {
    return mAngle1 + static_cast<float>(value) * (mAngle2 - mAngle1);
  }

  bool ContainsPoint(float x, float y) const override;
  void Draw(DrawContext& g) override;
  void BoundsChanged() override { MakeRects(mBounds); }
  void Attached() override { SetValue(Value()); }

protected:
  Rect KnobDragBounds() const override { return mWidgetBounds; }

private:
  float mAngle1;
  float mAngle2;
  float mAnchorAngle;
  float mTrackSize;
};

// An SVG picture turned with the value: 270 x value - 135 degrees about the
// rectangle's centre. Vertical dragging, gearing 4.
class ISVGKnobControl : public IKnobControlBase {
public:
  ISVGKnobControl(const Rect& bounds, const SvgImage& svg, int paramIdx = kNoParameter);

  void Draw(DrawContext& g) override;

private:
  SvgImage mSVG;
};

// A knob drawn from a strip of frames: frame trunc(value x (frames - 1) + 0.5)
// centred in its rectangle. Vertical dragging, gearing 4; no prompt opens.
class IBKnobControl : public IKnobControlBase, public IBitmapBase {
public:
  IBKnobControl(float x, float y, const Bitmap& bitmap, int paramIdx = kNoParameter);
  IBKnobControl(const Rect& bounds, const Bitmap& bitmap, int paramIdx = kNoParameter);

  void Draw(DrawContext& g) override;
  void ScaleChanged() override { ReloadForScale(GetUI()); }
};

// A knob whose single picture turns with the value: value x 300 - 150
// degrees (-150 at 0, upright at 0.5, +150 at 1). Its rectangle is the
// picture's size, centred in the one given.
class IBKnobRotaterControl : public IBKnobControl {
public:
  IBKnobRotaterControl(const Rect& rect, const Bitmap& bitmap, int paramIdx = kNoParameter);

  static float AngleForValue(double value) { return static_cast<float>(value * 300.0 - 150.0); }

  void Draw(DrawContext& g) override;
};

} // namespace igraphics
