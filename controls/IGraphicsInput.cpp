// Mouse and keyboard routing of the graphics context.
//
// A press captures the control it reaches; that control gets every further
// event of the pointer until the release. While a popup menu or the text
// entry field is open, only that field sees the mouse and the keys (an
// external prompt of the modal services keeps everything away until it is
// answered). Otherwise the special controls are tested first, then the
// attached controls from the last (topmost) to the first.
#include <algorithm>

#include "controls/IGraphics.h"
#include "controls/SpecialControls.h"
#include "plugin/IPlugAPIBase.h"

namespace igraphics {

namespace {

bool Reachable(const IControl& c, float x, float y) {
  return !c.IsHidden() && !c.IsMouseTransparent() &&
         (!c.IsDisabled() || c.WantsMouseWhenDisabled()) && c.ContainsPoint(x, y);
}

} // namespace

IControl* IGraphics::PromptControl() const {
  if (!mPrompt) return nullptr;
  if (mPrompt->textEntry) return mTextEntry && mTextEntry->IsOpen() ? mTextEntry.get() : nullptr;
  return mPopup && mPopup->IsOpen() ? mPopup.get() : nullptr;
}

IControl* IGraphics::ControlUnderPointer(float x, float y) const {
  const std::vector<IControl*> specials = Specials();
  for (auto it = specials.rbegin(); it != specials.rend(); ++it) {
    if (Reachable(**it, x, y)) return *it;
  }
  for (size_t i = mControls.size(); i-- > 0;) {
    IControl* c = mControls[i].get();
    if (Reachable(*c, x, y)) return c;
  }
  return nullptr;
}

// A gesture lasts as long as a control holds the pointer; the delegate
// groups the changes made in it.
void IGraphics::Capture(IControl* c) {
  mCapture = c;
  if (mDelegate != nullptr) mDelegate->BeginEditGesture();
}

void IGraphics::ReleaseCapture() {
  if (mCapture == nullptr) return;
  mCapture = nullptr;
  if (mDelegate != nullptr) mDelegate->EndEditGesture();
}

void IGraphics::OnMouseDown(float x, float y, const MouseModifiers& mod) {
  if (mCapture != nullptr) { // a second button while the first is held
    mCapture->MouseDown(x, y, mod);
    return;
  }
  if (mPrompt) {
    if (IControl* field = PromptControl()) field->MouseDown(x, y, mod);
    return;
  }
  IControl* c = ControlUnderPointer(x, y);
  if (c == nullptr) return;
  Capture(c);
  c->MouseDown(x, y, mod);
}

void IGraphics::OnMouseUp(float x, float y, const MouseModifiers& mod) {
  IControl* c = mCapture;
  if (c == nullptr) {
    if (IControl* field = PromptControl()) field->MouseUp(x, y, mod);
    return;
  }
  // The control still holds the pointer while it handles its release, so
  // values echoed from the parameter side cannot undo the final drag step.
  c->MouseUp(x, y, mod);
  ReleaseCapture();
}

void IGraphics::OnMouseDrag(float x, float y, float dX, float dY, const MouseModifiers& mod) {
  if (mCapture != nullptr) {
    mCapture->MouseDrag(x, y, dX, dY, mod);
  } else if (IControl* field = PromptControl()) {
    field->MouseOver(x, y, mod);
  }
}

void IGraphics::OnMouseDblClick(float x, float y, const MouseModifiers& mod) {
  if (mPrompt) {
    if (IControl* field = PromptControl()) field->MouseDown(x, y, mod);
    return;
  }
  IControl* c = mCapture != nullptr ? mCapture : ControlUnderPointer(x, y);
  if (c == nullptr) return;
  if (mCapture == nullptr) Capture(c);
  c->MouseDoubleClick(x, y, mod);
}

void IGraphics::OnMouseWheel(float x, float y, const MouseModifiers& mod, float delta) {
  if (mPrompt) {
    if (IControl* field = PromptControl()) field->MouseWheel(x, y, mod, delta);
    return;
  }
  IControl* c = mCapture != nullptr ? mCapture : ControlUnderPointer(x, y);
  if (c == nullptr) return;
  // A wheel step on its own is a gesture of its own.
  const bool ownGesture = mCapture == nullptr && mDelegate != nullptr;
  if (ownGesture) mDelegate->BeginEditGesture();
  c->MouseWheel(x, y, mod, delta);
  if (ownGesture) mDelegate->EndEditGesture();
}

void IGraphics::OnMouseOver(float x, float y, const MouseModifiers& mod) {
  if (!mMouseOverEnabled) return;
  if (mPrompt) {
    if (IControl* field = PromptControl()) field->MouseOver(x, y, mod);
    return;
  }
  IControl* c = mCapture != nullptr ? mCapture : ControlUnderPointer(x, y);
  if (c != mMouseOver) {
    if (mMouseOver != nullptr) mMouseOver->MouseLeave();
    mMouseOver = c;
  }
  if (c != nullptr) c->MouseOver(x, y, mod);
}

void IGraphics::OnMouseOut() {
  if (mMouseOver != nullptr) mMouseOver->MouseLeave();
  mMouseOver = nullptr;
}

void IGraphics::EnableMouseOver(bool enable) {
  mMouseOverEnabled = enable;
  if (!enable) OnMouseOut();
}

void IGraphics::EnableTooltips(bool enable) {
  mTooltipsEnabled = enable;
  if (enable) mMouseOverEnabled = true;
}

std::string IGraphics::CurrentTooltip() const {
  if (!mTooltipsEnabled || mMouseOver == nullptr || mMouseOver->IsHidden()) return {};
  return mMouseOver->Tooltip();
}

bool IGraphics::OnKeyDown(float x, float y, const IKeyPress& key) {
  if (mPrompt) {
    IControl* field = PromptControl();
    return field != nullptr && field->KeyDown(x, y, key);
  }
  IControl* c = mCapture != nullptr ? mCapture : ControlUnderPointer(x, y);
  if (c == nullptr) return false;
  const bool ownGesture = mCapture == nullptr && mDelegate != nullptr;
  if (ownGesture) mDelegate->BeginEditGesture();
  const bool used = c->KeyDown(x, y, key);
  if (ownGesture) mDelegate->EndEditGesture();
  return used;
}

bool IGraphics::OnKeyUp(float x, float y, const IKeyPress& key) {
  if (mPrompt) {
    IControl* field = PromptControl();
    return field != nullptr && field->KeyUp(x, y, key);
  }
  IControl* c = mCapture != nullptr ? mCapture : ControlUnderPointer(x, y);
  return c != nullptr && c->KeyUp(x, y, key);
}

} // namespace igraphics
