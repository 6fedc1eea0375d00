#pragma once

#include "controls/ButtonControls.h"
#include "controls/IControl.h"
#include "render/Bitmap.h"

namespace igraphics {

class IGraphics;

// The part the bitmap controls share: the picture, and its reload for the
// screen's scale when the control is attached or the scale changes (a
// picture from the resources is then replaced by its "@2x" version where
// there is one).
class IBitmapBase {
public:
  explicit IBitmapBase(const Bitmap& bitmap) : mBitmap(bitmap) {}
  virtual ~IBitmapBase() = default;

  const Bitmap& GetBitmap() const { return mBitmap; }
  void SetBitmap(const Bitmap& bitmap) { mBitmap = bitmap; }

protected:
  // Keeps the picture when it has no resource name or the reload fails.
  void ReloadForScale(IGraphics* ui);

  Bitmap mBitmap;
};

// Draws frame trunc(value x (frames - 1) + 0.5) of its picture, centred.
class IBitmapControl : public IControl, public IBitmapBase {
public:
  // At (x, y), one frame in size.
  IBitmapControl(float x, float y, const Bitmap& bitmap, int paramIdx = kNoParameter);
  IBitmapControl(const Rect& bounds, const Bitmap& bitmap, int paramIdx = kNoParameter);

  void Draw(DrawContext& g) override;
  void ScaleChanged() override { ReloadForScale(GetUI()); }
};

// A picture button. Both the press and the release pass the value on, so its
// action runs twice per click; it never changes its own value (its owner
// sets the value to show a state). Draws the frame for its value.
class IBButtonControl : public IButtonControlBase, public IBitmapBase {
public:
  IBButtonControl(float x, float y, const Bitmap& bitmap, IActionFunction action = nullptr);
  IBButtonControl(const Rect& bounds, const Bitmap& bitmap, IActionFunction action = nullptr);

  void MouseDown(float x, float y, const MouseModifiers& mod) override;
  void MouseUp(float x, float y, const MouseModifiers& mod) override;
  void Draw(DrawContext& g) override;
  void ScaleChanged() override { ReloadForScale(GetUI()); }
};

} // namespace igraphics
