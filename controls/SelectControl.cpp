#include "controls/SelectControl.h"

#include <cmath>

namespace igraphics {

IInvisibleSelectControl3::IInvisibleSelectControl3(const Rect& bounds, int paramIdx, bool vertical)
    : IControl(bounds, paramIdx), mVertical(vertical), mHeight(static_cast<int>(bounds.H())),
      mTop(static_cast<int>(bounds.T)), mWidth(static_cast<int>(bounds.W())),
      mLeft(static_cast<int>(bounds.L)) {}

void IInvisibleSelectControl3::Record(int gesture, const MouseModifiers& mod, float x, float y) {
  mLastGesture = gesture;
  mLastModifier = mod.S ? kShift : mod.C ? kControl : kNone;
  const int extent = mVertical ? mHeight : mWidth;
  // A selector thinner than one unit has no positions; it reports the top.
  const double v =
      extent > 0 ? (mVertical ? (y - mTop) : (x - mLeft)) / static_cast<double>(extent) : 0.0;
  SetValue(std::isfinite(v) ? v : 0.0);
  MarkChanged(true);
}

void IInvisibleSelectControl3::MouseDown(float x, float y, const MouseModifiers& mod) {
  Record(kPress, mod, x, y);
}

void IInvisibleSelectControl3::MouseUp(float x, float y, const MouseModifiers& mod) {
  Record(kRelease, mod, x, y);
}

void IInvisibleSelectControl3::MouseDrag(float x, float y, float dX, float dY,
                                         const MouseModifiers& mod) {
  mLastDirection = (mVertical ? dY : dX) > 0.f;
  Record(kDrag, mod, x, y);
}

void IInvisibleSelectControl3::MouseDoubleClick(float x, float y, const MouseModifiers& mod) {
  Record(kDoubleClick, mod, x, y);
}

void IInvisibleSelectControl3::MouseWheel(float x, float y, const MouseModifiers& mod,
                                          float delta) {
  if (delta == 0.f || !std::isfinite(delta)) return;
  mLastDirection = delta > 0.f;
  Record(kWheel, mod, x, y);
}

bool IInvisibleSelectControl3::KeyDown(float x, float y, const IKeyPress& key) {
  if (key.VK == 0) mLastModifier = kKey0;
  if (key.VK == 1) mLastModifier = kKey1;
  return false;
}

} // namespace igraphics
