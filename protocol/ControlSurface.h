#pragma once

#include <string>

namespace zorel {

// A colour of the control surface, each channel 0..255.
struct SurfaceColor {
  int a = 255;
  int r = 255;
  int g = 255;
  int b = 255;
  friend bool operator==(const SurfaceColor&, const SurfaceColor&) = default;
};

// Effect sections shown in the section panel; the numbers are the pedal
// editor's own and are compared as such.
enum ESection {
  kSectionNone = 0,
  kSectionCompressor = 2,
  kSectionAmbience = 3,
  kSectionImpulseResponse = 4,
  kSectionAnalogSim = 5,
  kSectionPunchFilter = 8,
  kSectionLowFilter = 10,
  kSectionMidFilter = 11,
  kSectionHighFilter = 12,
  kSectionAmplifier = 13,
  kSectionLevel = 15,
  kSectionAutoFilter = 16,
  kSectionChorus = 17,
};

// Everything the editor core asks of an open control surface. The core calls
// it only while a surface is open and only on the user-interface thread
// (SurfaceChannel takes care of both); the window's surface implements it,
// and tests record the calls. Tags and group names are those of the layout.
class IControlSurface {
public:
  virtual ~IControlSurface() = default;

  // Panels.
  virtual void ShowSection(int section) = 0;
  virtual void SetGroupHidden(const char* group, bool hidden) = 0;
  virtual void SetGroupDisabled(const char* group, bool disabled) = 0;
  virtual void SetParamControlsDisabled(int paramIdx, bool disabled) = 0;

  // Readouts: the text control with `tag` shows parameter `paramIdx` in the
  // pedal's units; the filter readouts fill a panel's whole set at once.
  virtual void ShowReadout(int tag, int paramIdx) = 0;
  virtual void ShowPunchFilterReadouts() = 0;
  virtual void ShowMidFilterReadouts() = 0;
  virtual void ShowHighFilterReadouts() = 0;

  // Single tagged controls.
  virtual void SetTagText(int tag, const std::string& text) = 0;
  virtual void SetTagTextColor(int tag, SurfaceColor color) = 0;
  virtual void SetTagValue(int tag, double normalized) = 0;
  virtual double TagValue(int tag) const = 0;
  virtual bool IsTagHidden(int tag) const = 0;
  virtual void SetTagHidden(int tag, bool hidden) = 0;
  virtual void SetTagDisabled(int tag, bool disabled) = 0;
  virtual void RedrawTag(int tag) = 0;
  virtual void MarkAllDirty() = 0;

  // The preset list: one row control per slot.
  virtual void PlacePresetRow(int slot, float top, bool hidden) = 0;
  virtual void SetPresetRowColor(int slot, SurfaceColor color, bool redraw) = 0;

  // The 32 rows of the custom IR list.
  virtual void SetIRNameRowText(int row, const std::string& text) = 0;
  virtual void SetIRNameRowColor(int row, SurfaceColor color) = 0;

  // Amplifier model and ambience type buttons, and the two knob layers.
  virtual void SelectAmpModel(int model) = 0;
  virtual void SelectAmbienceType(int type) = 0;
  virtual void UpdateKnobLayer(bool midPre, bool filterOn) = 0;

  // The progress knob (tag 57) with its text (tag 58), and message boxes
  // with an OK button.
  virtual void ShowProgress(double fraction, const std::string& text) = 0;
  virtual void ShowMessage(const std::string& text) = 0;

  // The dynamics graph.
  virtual void SetGateThreshold(double db) = 0;
  virtual void SetGateRatio(double ratio) = 0;
  virtual void SetCompressorThreshold(double db) = 0;
  virtual void SetCompressorRatio(double ratio) = 0;
};

} // namespace zorel
