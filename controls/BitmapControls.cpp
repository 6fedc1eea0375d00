#include "controls/BitmapControls.h"

#include "controls/IGraphics.h"

namespace igraphics {

namespace {
Rect FrameRect(float x, float y, const Bitmap& bitmap) {
  return Rect::FromSize(x, y, bitmap.FrameWidth(), bitmap.FrameHeight());
}
} // namespace

void IBitmapBase::ReloadForScale(IGraphics* ui) {
  if (ui == nullptr || !mBitmap.IsValid() || mBitmap.Name().empty()) return;
  const Bitmap reloaded =
      ui->LoadBitmapResource(mBitmap.Name(), mBitmap.NumFrames(), mBitmap.FramesAreHorizontal(), 0);
  if (reloaded.IsValid()) mBitmap = reloaded;
}

// ---- IBitmapControl -------------------------------------------------------------

IBitmapControl::IBitmapControl(float x, float y, const Bitmap& bitmap, int paramIdx)
    : IControl(FrameRect(x, y, bitmap), paramIdx), IBitmapBase(bitmap) {}

IBitmapControl::IBitmapControl(const Rect& bounds, const Bitmap& bitmap, int paramIdx)
    : IControl(bounds, paramIdx), IBitmapBase(bitmap) {}

void IBitmapControl::Draw(DrawContext& g) {
  g.DrawBitmapCentered(mBitmap, mBounds, mBitmap.FrameForValue(Value()));
}

// ---- IBButtonControl --------------------------------------------------------------

IBButtonControl::IBButtonControl(float x, float y, const Bitmap& bitmap, IActionFunction action)
    : IButtonControlBase(FrameRect(x, y, bitmap), std::move(action)), IBitmapBase(bitmap) {}

IBButtonControl::IBButtonControl(const Rect& bounds, const Bitmap& bitmap, IActionFunction action)
    : IButtonControlBase(bounds, std::move(action)), IBitmapBase(bitmap) {}

void IBButtonControl::MouseDown(float x, float y, const MouseModifiers& mod) {
  MarkChanged(true);
}

void IBButtonControl::MouseUp(float x, float y, const MouseModifiers& mod) {
  MarkChanged(true);
}

void IBButtonControl::Draw(DrawContext& g) {
  g.DrawBitmapCentered(mBitmap, mBounds, mBitmap.FrameForValue(Value()));
}

} // namespace igraphics
