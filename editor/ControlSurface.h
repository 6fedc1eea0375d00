#pragma once

#include <array>
#include <memory>
#include <string>

#include "editor/SurfaceIds.h"

namespace zorel {

// What the editor core asks of an open control surface, in a few narrow
// parts. The core calls it only while a surface is open and only on the
// user-interface thread (SurfaceChannel takes care of both); the window's
// surface implements it, and tests record the calls. Controls are named by
// the ids of SurfaceIds.h. The core never reads anything back: what it must
// remember about the surface it keeps itself.

// Panels and groups: which effect panel is on screen, which groups are shown
// or disabled, the lit amplifier-model and ambience buttons, and the two
// layers of pedal knobs.
class IPanelView {
public:
  virtual ~IPanelView() = default;
  virtual void ShowSection(int section) = 0;
  virtual void SetGroupHidden(const char* group, bool hidden) = 0;
  virtual void SetGroupDisabled(const char* group, bool disabled) = 0;
  virtual void SetParamControlsDisabled(int paramIdx, bool disabled) = 0;
  // Lights the button of `model` (0..9; 11 and 12, the presets that only
  // resemble models 1 and 2, light those; others light none) / of ambience
  // type `type` (0..6).
  virtual void SelectAmpModel(int model) = 0;
  virtual void SelectAmbienceType(int type) = 0;
  virtual void UpdateKnobLayer(bool midPre, bool filterOn) = 0;
};

// Readouts: the text control with `tag` shows parameter `paramIdx` in the
// pedal's units; the filter readouts fill a panel's whole set at once.
class IReadoutView {
public:
  virtual ~IReadoutView() = default;
  virtual void ShowReadout(int tag, int paramIdx) = 0;
  virtual void ShowPunchFilterReadouts() = 0;
  virtual void ShowMidFilterReadouts() = 0;
  virtual void ShowHighFilterReadouts() = 0;
};

// Single tagged controls.
class ITaggedView {
public:
  virtual ~ITaggedView() = default;
  virtual void SetTagText(int tag, const std::string& text) = 0;
  virtual void SetTagTextColor(int tag, SurfaceColor color) = 0;
  virtual void SetTagValue(int tag, double normalized) = 0;
  virtual void SetTagHidden(int tag, bool hidden) = 0;
  virtual void SetTagDisabled(int tag, bool disabled) = 0;
  virtual void RedrawTag(int tag) = 0;
  virtual void MarkAllDirty() = 0;
};

// The preset list (one row control per slot) and the 32 rows of the custom
// IR list.
class IListView {
public:
  virtual ~IListView() = default;
  virtual void PlacePresetRow(int slot, float top, bool hidden) = 0;
  virtual void SetPresetRowColor(int slot, SurfaceColor color, bool redraw) = 0;
  virtual void SetPresetRowText(int slot, const std::string& text) = 0;
  virtual void SetIRNameRowText(int row, const std::string& text) = 0;
  virtual void SetIRNameRowColor(int row, SurfaceColor color) = 0;
};

// The transfer progress overlay (knob tag 57, text tag 58) and message
// boxes with an OK button.
class IProgressView {
public:
  virtual ~IProgressView() = default;
  virtual void ShowProgress(double fraction, const std::string& text) = 0;
  virtual void ShowMessage(const std::string& text) = 0;
};

// Samples of the IR working buffer handed to the response graph: shared and
// never written again, so the graph may keep them as long as it likes.
using ResponseSamples = std::shared_ptr<const std::array<double, 4096>>;

// The two graphs.
class IGraphView {
public:
  virtual ~IGraphView() = default;
  virtual void SetGateThreshold(double db) = 0;
  virtual void SetGateRatio(double ratio) = 0;
  virtual void SetCompressorThreshold(double db) = 0;
  virtual void SetCompressorRatio(double ratio) = 0;
  virtual void SetResponseSamples(ResponseSamples samples) = 0;
};

class IControlSurface : public IPanelView,
                        public IReadoutView,
                        public ITaggedView,
                        public IListView,
                        public IProgressView,
                        public IGraphView {};

} // namespace zorel
