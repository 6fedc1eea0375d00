#pragma once

#include "controls/IControl.h"

namespace igraphics {

// An invisible selector laid over a list: every gesture records what it was
// and turns the pointer position into a value, (y - top) / height (or
// (x - left) / width), clamped to 0..1, passed on as a user change. The
// owner reads the gesture, modifier and direction to decide what it means.
// It never opens a parameter prompt.
class IInvisibleSelectControl3 : public IControl {
public:
  enum EGesture { kPress = 0, kRelease = 1, kDrag = 2, kDoubleClick = 3, kWheel = 4 };
  enum EModifier { kNone = 0, kShift = 1, kControl = 2, kKey0 = 3, kKey1 = 4 };

  IInvisibleSelectControl3(const Rect& bounds, int paramIdx = kNoParameter, bool vertical = true);

  int LastGesture() const { return mLastGesture; }
  int LastModifier() const { return mLastModifier; }
  bool LastDirection() const { return mLastDirection; }

  void Draw(DrawContext& g) override {}
  void MouseDown(float x, float y, const MouseModifiers& mod) override;
  void MouseUp(float x, float y, const MouseModifiers& mod) override;
  void MouseDrag(float x, float y, float dX, float dY, const MouseModifiers& mod) override;
  void MouseDoubleClick(float x, float y, const MouseModifiers& mod) override;
  void MouseWheel(float x, float y, const MouseModifiers& mod, float delta) override;
  bool KeyDown(float x, float y, const IKeyPress& key) override;

private:
  void Record(int gesture, const MouseModifiers& mod, float x, float y);

  bool mVertical;
  // The integer geometry of the rectangle at construction.
  int mHeight;
  int mTop;
  int mWidth;
  int mLeft;
  int mLastGesture = kPress;
  int mLastModifier = kNone;
  bool mLastDirection = false;
};

} // namespace igraphics
