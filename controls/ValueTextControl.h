#pragma once

#include <algorithm>
#include <utility>

#include "controls/IControl.h"
#include "controls/IGraphics.h"
#include "controls/IVectorBase.h"
#include "controls/ParamValues.h"

namespace igraphics {

// A vector control that shows its value as text under the part that is
// dragged (`DragBase`: a knob or a slider). A press on the value text of an
// editable value opens the parameter prompt over the text (when prompts are
// allowed) and never moves the control; its drag and release do nothing
// more. Every value set is shown as the parameter's display text.
template <typename DragBase> class IVValueTextControl : public DragBase, public IVectorBase {
public:
  // `textAlwaysTakesPress`: a press on the text of a value that is not
  // editable still belongs to the text (a knob, which turns only under its
  // own face) rather than to the drag (a slider, whose track it may start).
  template <typename... DragArgs>
  IVValueTextControl(const VectorStyle& style, bool valueInWidget, bool valueIsEditable,
                     bool textAlwaysTakesPress, DragArgs&&... dragArgs)
      : DragBase(std::forward<DragArgs>(dragArgs)...),
        IVectorBase(this, style, false, valueInWidget), mValueIsEditable(valueIsEditable),
        mTextAlwaysTakesPress(textAlwaysTakesPress) {}

  void MouseDown(float x, float y, const MouseModifiers& mod) override {
    if ((mValueIsEditable || mTextAlwaysTakesPress) && OnValueText(x, y)) {
      mValueClick = true;
      if (mValueIsEditable && !this->IsPromptDisabled() && this->GetUI() != nullptr)
        this->GetUI()->PromptParameterValue(this, mValueBounds, 0);
      return;
    }
    DragBase::MouseDown(x, y, mod);
  }

  void MouseDrag(float x, float y, float dX, float dY, const MouseModifiers& mod) override {
    if (!mValueClick) DragBase::MouseDrag(x, y, dX, dY, mod);
  }

  void MouseUp(float x, float y, const MouseModifiers& mod) override {
    if (mValueClick) {
      mValueClick = false;
      return;
    }
    DragBase::MouseUp(x, y, mod);
    this->MarkChanged(true);
  }

  void SetValue(double value, int valueIndex = 0) override {
    DragBase::SetValue(value, valueIndex);
    if (const iplug::IParam* param = this->GetParam())
      SetValueStr(ParamDisplayText(*param, std::clamp(this->Value(), 0.0, 1.0), true));
  }

protected:
  // The value text drawn apart from the widget, under the point.
  bool OnValueText(float x, float y) const {
    return ValueShown() && !mValueInWidget && mValueBounds.Contains(x, y);
  }

private:
  bool mValueIsEditable;
  bool mTextAlwaysTakesPress;
  bool mValueClick = false;
};

} // namespace igraphics
