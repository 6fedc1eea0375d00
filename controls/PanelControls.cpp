#include "controls/PanelControls.h"

#include "controls/IGraphics.h"

namespace igraphics {

IControl* IContainerBase::AddChildControl(std::unique_ptr<IControl> child) {
  if (child == nullptr) return nullptr;
  IControl* raw = child.get();
  if (GetUI() == nullptr) {
    mPending.push_back(std::move(child));
  } else if (GetUI()->AddControl(std::move(child)) == nullptr) {
    return nullptr;
  }
  mChildren.push_back(raw);
  raw->SetHidden(IsHidden());
  raw->SetDisabledState(IsDisabled());
  return raw;
}

void IContainerBase::Attached() {
  IGraphics* ui = GetUI();
  for (auto& child : mPending) ui->AddControl(std::move(child));
  mPending.clear();
}

IControl* IContainerBase::GetChild(int index) const {
  if (index < 0 || index >= NChildren()) return nullptr;
  return mChildren[static_cast<size_t>(index)];
}

void IContainerBase::SetHidden(bool hidden) {
  IControl::SetHidden(hidden);
  for (IControl* child : mChildren) child->SetHidden(hidden);
}

void IContainerBase::SetDisabledState(bool disabled) {
  IControl::SetDisabledState(disabled);
  for (IControl* child : mChildren) child->SetDisabledState(disabled);
}

IPanelControl::IPanelControl(const Rect& bounds, const Color& color, bool drawFrame,
                             const Color& frameColor, float frameThickness)
    : IContainerBase(bounds), mColor(color), mDrawFrame(drawFrame), mFrameColor(frameColor),
      mFrameThickness(frameThickness) {}

void IPanelControl::SetPanelColor(const Color& color) {
  mColor = color;
  Redraw();
}

void IPanelControl::Draw(DrawContext& g) {
  g.FillRect(mColor, mBounds);
  if (mDrawFrame && mFrameThickness > 0.f)
    g.DrawRect(mFrameColor, mBounds.Padded(-0.5f * mFrameThickness), mFrameThickness);
}

} // namespace igraphics
