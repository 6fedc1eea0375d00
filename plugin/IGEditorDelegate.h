#pragma once

#include "plugin/IEditorDelegate.h"
#include "plugin/IGraphicsContext.h"

namespace igraphics {

// Adds the control surface: the graphics context while the window is open,
// and the size and scale kept from the last time it was closed.
class IGEditorDelegate : public iplug::IEditorDelegate {
public:
  explicit IGEditorDelegate(int nParams) : iplug::IEditorDelegate(nParams) {}

  IGraphicsContext* GetUI() const { return mGraphics; }
  bool HasUI() const { return mGraphics != nullptr; }
  // The host attaches the context after creating it and detaches it before
  // destroying it; detaching keeps its size and scale for the next opening.
  void AttachGraphics(IGraphicsContext* graphics);
  void DetachGraphics();

  int KeptWidth() const { return mKeptWidth; }
  int KeptHeight() const { return mKeptHeight; }
  float KeptScale() const { return mKeptScale; }

protected:
  void KeepEditorState(int width, int height, float scale) {
    mKeptWidth = width;
    mKeptHeight = height;
    mKeptScale = scale;
  }

private:
  IGraphicsContext* mGraphics = nullptr;
  int mKeptWidth = 0;
  int mKeptHeight = 0;
  float mKeptScale = 0.f;
};

} // namespace igraphics
