#include "plugin/IGEditorDelegate.h"

namespace igraphics {

void IGEditorDelegate::AttachGraphics(IGraphicsContext* graphics) {
  mGraphics = graphics;
  if (graphics && mKeptWidth != 0 && mKeptHeight != 0 && mKeptScale != 0.f) {
    graphics->Resize(mKeptWidth, mKeptHeight, mKeptScale);
  }
}

void IGEditorDelegate::DetachGraphics() {
  if (mGraphics)
    KeepEditorState(mGraphics->Width(), mGraphics->Height(), mGraphics->GetDrawScale());
  mGraphics = nullptr;
}

} // namespace igraphics
