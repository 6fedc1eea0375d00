#pragma once

#include "controls/SelectControl.h"

namespace zorel {

class ZorelControl;

namespace ui {

// The invisible selector over a list, telling the editor what each gesture
// was before its value reaches the list's parameter: the dispatcher decides
// from it whether a value is a click, a double click or a wheel step.
class ListSelectControl : public igraphics::IInvisibleSelectControl3 {
public:
  ListSelectControl(const igraphics::Rect& bounds, int paramIdx, ZorelControl& editor);

  void MouseDown(float x, float y, const igraphics::MouseModifiers& mod) override;
  void MouseUp(float x, float y, const igraphics::MouseModifiers& mod) override;
  void MouseDrag(float x, float y, float dX, float dY,
                 const igraphics::MouseModifiers& mod) override;
  void MouseDoubleClick(float x, float y, const igraphics::MouseModifiers& mod) override;
  void MouseWheel(float x, float y, const igraphics::MouseModifiers& mod, float delta) override;

private:
  ZorelControl& mEditor;
};

} // namespace ui
} // namespace zorel
