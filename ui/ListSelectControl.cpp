#include "ui/ListSelectControl.h"

#include <cmath>

#include "editor/ZorelControl.h"

namespace zorel::ui {

namespace {

int Modifiers(const igraphics::MouseModifiers& mod) {
  return mod.S ? 1 : mod.C ? 2 : 0;
}

} // namespace

ListSelectControl::ListSelectControl(const igraphics::Rect& bounds, int paramIdx,
                                     ZorelControl& editor)
    : IInvisibleSelectControl3(bounds, paramIdx), mEditor(editor) {}

void ListSelectControl::MouseDown(float x, float y, const igraphics::MouseModifiers& mod) {
  mEditor.SetListEvent({ListEvent::kClick, Modifiers(mod), false});
  IInvisibleSelectControl3::MouseDown(x, y, mod);
}

void ListSelectControl::MouseUp(float x, float y, const igraphics::MouseModifiers& mod) {
  mEditor.SetListEvent({});
  IInvisibleSelectControl3::MouseUp(x, y, mod);
}

void ListSelectControl::MouseDrag(float x, float y, float dX, float dY,
                                  const igraphics::MouseModifiers& mod) {
  mEditor.SetListEvent({});
  IInvisibleSelectControl3::MouseDrag(x, y, dX, dY, mod);
}

void ListSelectControl::MouseDoubleClick(float x, float y, const igraphics::MouseModifiers& mod) {
  mEditor.SetListEvent({ListEvent::kDoubleClick, Modifiers(mod), false});
  IInvisibleSelectControl3::MouseDoubleClick(x, y, mod);
}

// Turning the wheel up shows earlier rows, as it does over the scroll bar
// beside the list (whose top is the list's start).
void ListSelectControl::MouseWheel(float x, float y, const igraphics::MouseModifiers& mod,
                                   float delta) {
  if (delta == 0.f || !std::isfinite(delta)) return;
  mEditor.SetListEvent({ListEvent::kWheel, Modifiers(mod), delta < 0.f});
  IInvisibleSelectControl3::MouseWheel(x, y, mod, delta);
}

} // namespace zorel::ui
