#pragma once

#include <string>

#include "controls/IControl.h"
#include "controls/IVectorBase.h"

namespace igraphics {

// A button: a press sets the value to 1 and passes it on (the action runs);
// the end of the press animation sets it back to 0 and runs the
// animation-end action. A double click counts as another press.
class IButtonControlBase : public IControl {
public:
  explicit IButtonControlBase(const Rect& bounds, IActionFunction action = nullptr);

  void MouseDown(float x, float y, const MouseModifiers& mod) override;
  void MouseDoubleClick(float x, float y, const MouseModifiers& mod) override;
  void AnimationEnded() override;
};

// A vector button with a label. Its action is the click animation; the
// function given here becomes the animation-end action, so it runs when the
// 100 ms animation ends, after the value has returned to 0.
class IVButtonControl : public IButtonControlBase, public IVectorBase {
public:
  IVButtonControl(const Rect& bounds, IActionFunction action = nullptr, std::string label = {},
                  const VectorStyle& style = kDefaultVectorStyle, bool labelInButton = true,
                  bool valueInButton = true);

  void MouseDown(float x, float y, const MouseModifiers& mod) override;
  void Draw(DrawContext& g) override;
  void BoundsChanged() override { MakeRects(mBounds); }
};

// A switch of n states: a click advances to the next (value k / (n - 1)),
// wrapping from the last to the first; two states toggle. Linked to a
// stepped parameter, the parameter's values are the states.
class ISwitchControlBase : public IControl {
public:
  ISwitchControlBase(const Rect& bounds, int paramIdx = kNoParameter,
                     IActionFunction action = nullptr, int numStates = 2);

  int NumStates() const;
  int State() const;

  void MouseDown(float x, float y, const MouseModifiers& mod) override;
  void MouseUp(float x, float y, const MouseModifiers& mod) override;
  void MouseDoubleClick(float x, float y, const MouseModifiers& mod) override;

protected:
  int mNumStates;
  bool mMouseDown = false;
};

// A vector switch: a face showing the state's text.
class IVSwitchControl : public ISwitchControlBase, public IVectorBase {
public:
  IVSwitchControl(const Rect& bounds, int paramIdx = kNoParameter, std::string label = {},
                  const VectorStyle& style = kDefaultVectorStyle, bool valueInButton = true,
                  int numStates = 2);

  void SetValue(double value, int valueIndex = 0) override;
  void Draw(DrawContext& g) override;
  void BoundsChanged() override { MakeRects(mBounds); }
  void Attached() override;

protected:
  void UpdateValueText();
};

// A vector switch drawn as a handle sliding along a track, one position per
// state.
class IVSlideSwitchControl : public IVSwitchControl {
public:
  IVSlideSwitchControl(const Rect& bounds, int paramIdx = kNoParameter, std::string label = {},
                       const VectorStyle& style = kDefaultVectorStyle, bool valueInButton = true,
                       EDirection direction = EDirection::Horizontal, int numStates = 2);

  // Where the handle is drawn for the current state.
  Rect HandleBounds() const;

  void Draw(DrawContext& g) override;

private:
  EDirection mDirection;
};

} // namespace igraphics
