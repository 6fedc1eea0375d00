#pragma once

#include <memory>
#include <vector>

#include "controls/IControl.h"

namespace igraphics {

// A control with child controls. The children are attached to the same
// graphics context right after their container (so they draw above it and
// take the mouse like any control); the container keeps them in step when
// it is hidden or disabled. Children added before the container is attached
// are attached with it.
class IContainerBase : public IControl {
public:
  using IControl::IControl;

  // The child, or null when it could not be attached.
  IControl* AddChildControl(std::unique_ptr<IControl> child);
  int NChildren() const { return static_cast<int>(mChildren.size()); }
  IControl* GetChild(int index) const;

  void SetHidden(bool hidden) override;
  void SetDisabledState(bool disabled) override;
  void Attached() override;

protected:
  std::vector<IControl*> mChildren;

private:
  std::vector<std::unique_ptr<IControl>> mPending;
};

// A rectangle filled with one colour, optionally framed.
class IPanelControl : public IContainerBase {
public:
  IPanelControl(const Rect& bounds, const Color& color, bool drawFrame = false,
                const Color& frameColor = COLOR_BLACK, float frameThickness = 1.f);

  const Color& PanelColor() const { return mColor; }
  void SetPanelColor(const Color& color);

  void Draw(DrawContext& g) override;

private:
  Color mColor;
  bool mDrawFrame;
  Color mFrameColor;
  float mFrameThickness;
};

} // namespace igraphics
