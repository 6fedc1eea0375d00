#pragma once

#include <array>

#include "controls/DynamicsResponseGraph.h"
#include "controls/FreqResponseGraph.h"
#include "controls/IGraphics.h"
#include "controls/TextControls.h"
#include "editor/ControlSurface.h"
#include "library/LibraryTables.h"

namespace zorel {

class ZorelControl;

namespace ui {

// The controls the surface reaches by position in a list rather than by
// tag; the builder fills them in.
struct SurfaceHandles {
  std::array<igraphics::ITextControl*, kPresetSlotCount> presetRows{};
  std::array<igraphics::ITextControl*, lib::kCabinetCount> cabinetRows{};
  std::array<igraphics::ITextControl*, kIRNameRows> irNameRows{};
  igraphics::IControl* presetListSelect = nullptr;
  igraphics::IControl* cabinetListSelect = nullptr;
  igraphics::IFreqResponseGraph* responseGraph = nullptr;
  igraphics::IDynamicsResponseGraph* dynamicsGraph = nullptr;
};

} // namespace ui

// The editor's control surface on real controls: the groups and panels,
// the lit model and ambience buttons, readouts, lists and graphs. The core
// reaches it through IControlSurface, always on the user-interface thread
// (the editor's SurfaceChannel queues requests from other threads), so no
// method here locks anything.
class ZorelSurface final : public IControlSurface {
public:
  ZorelSurface(igraphics::IGraphics& graphics, ZorelControl& editor);

  igraphics::IGraphics& Graphics() const { return mGraphics; }
  ui::SurfaceHandles& Handles() { return mHandles; }
  const ui::SurfaceHandles& Handles() const { return mHandles; }

  // Every section group and the dynamics graph hidden.
  void HideAllSections();
  // The cabinet list rows show the library's cabinet names.
  void RefreshCabinetNames();

  // IPanelView
  void ShowSection(int section) override;
  void SetGroupHidden(const char* group, bool hidden) override;
  void SetGroupDisabled(const char* group, bool disabled) override;
  void SetParamControlsDisabled(int paramIdx, bool disabled) override;
  void SelectAmpModel(int model) override;
  void SelectAmbienceType(int type) override;
  void UpdateKnobLayer(bool midPre, bool filterOn) override;

  // IReadoutView
  void ShowReadout(int tag, int paramIdx) override;
  void ShowPunchFilterReadouts() override;
  void ShowMidFilterReadouts() override;
  void ShowHighFilterReadouts() override;

  // ITaggedView
  void SetTagText(int tag, const std::string& text) override;
  void SetTagTextColor(int tag, SurfaceColor color) override;
  void SetTagValue(int tag, double normalized) override;
  void SetTagHidden(int tag, bool hidden) override;
  void SetTagDisabled(int tag, bool disabled) override;
  void RedrawTag(int tag) override;
  void MarkAllDirty() override;

  // IListView
  void PlacePresetRow(int slot, float top, bool hidden) override;
  void SetPresetRowColor(int slot, SurfaceColor color, bool redraw) override;
  void SetPresetRowText(int slot, const std::string& text) override;
  void SetIRNameRowText(int row, const std::string& text) override;
  void SetIRNameRowColor(int row, SurfaceColor color) override;

  // IProgressView
  void ShowProgress(double fraction, const std::string& text) override;
  void ShowMessage(const std::string& text) override;

  // IGraphView
  void SetGateThreshold(double db) override;
  void SetGateRatio(double ratio) override;
  void SetCompressorThreshold(double db) override;
  void SetCompressorRatio(double ratio) override;
  void SetResponseSamples(ResponseSamples samples) override;

private:
  igraphics::ITextControl* TextByTag(int tag) const;
  int ParamInt(int paramIdx) const;
  template <class Texts> void ShowTexts(const Texts& texts);

  igraphics::IGraphics& mGraphics;
  ZorelControl& mEditor;
  ui::SurfaceHandles mHandles;
};

} // namespace zorel
