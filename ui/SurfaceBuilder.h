#pragma once

#include "controls/IGraphics.h"
#include "ui/LayoutSpec.h"
#include "ui/ZorelSurface.h"

namespace zorel::ui {

// The one place where controls are made and attached: it reads the layout
// tables and gives each control its tag, group, style, picture, texts,
// action and start-up visibility.
class SurfaceBuilder {
public:
  SurfaceBuilder(igraphics::IGraphics& graphics, ZorelControl& editor, SurfaceHandles& handles);

  // The controls of `table` in order; entries without a group take
  // `panelGroup`.
  void Attach(LayoutTable table, const char* panelGroup = nullptr);
  // Every panel's controls, then every panel's title on top.
  void AttachPanels(std::span<const PanelSpec> panels);
  // Controls refused because their tag was taken; 0 for a sound layout.
  int Refused() const { return mRefused; }

private:
  igraphics::IControl* AttachControl(const ControlSpec& spec, const char* group, int row);
  std::unique_ptr<igraphics::IControl> Make(const ControlSpec& spec, int row);
  void AttachKnobTexts(const ControlSpec& spec, const char* group);
  igraphics::IControl* Add(std::unique_ptr<igraphics::IControl> control, int tag,
                           const char* group);
  void KeepHandle(const ControlSpec& spec, igraphics::IControl* control, int row);
  std::string RowTextOf(const ControlSpec& spec, int row) const;

  igraphics::IGraphics& mGraphics;
  ZorelControl& mEditor;
  SurfaceHandles& mHandles;
  int mRefused = 0;
};

} // namespace zorel::ui
