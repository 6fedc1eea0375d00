#include "ui/ZorelSurface.h"

#include "editor/ZorelControl.h"
#include "protocol/codec/ParamIds.h"
#include "ui/readouts/Readouts.h"

namespace zorel {

using igraphics::Color;
using igraphics::IControl;
using igraphics::ITextControl;

namespace {

Color ToColor(SurfaceColor c) {
  return Color(c.a, c.r, c.g, c.b);
}

// Hidden, in this order, before a section is shown.
constexpr const char* kSectionGroups[] = {
    group::kAnalogSim, group::kDynamics,   group::kCompressor,   group::kImpulseResponse,
    group::kIRDisplay, group::kAmbience,   group::kAmbienceTime, group::kPunchFilter,
    group::kLowFilter, group::kMidFilter,  group::kHighFilter,   group::kDrive,
    group::kLevel,     group::kAutoFilter, group::kChorus,
};

// What each section brings on screen: its groups, one of the two graphs and
// the hint that the response area opens the IR panel (not needed on it).
struct SectionView {
  int section;
  std::array<const char*, 2> groups;
  bool dynamicsGraph;
  bool hint;
};
constexpr SectionView kSectionViews[] = {
    {kSectionCompressor, {group::kDynamics, group::kCompressor}, true, true},
    {kSectionAmbience, {group::kAmbience, nullptr}, false, true},
    {kSectionImpulseResponse, {group::kImpulseResponse, nullptr}, false, false},
    {kSectionAnalogSim, {group::kAnalogSim, nullptr}, false, true},
    {kSectionPunchFilter, {group::kPunchFilter, nullptr}, false, true},
    {kSectionLowFilter, {group::kLowFilter, nullptr}, false, true},
    {kSectionMidFilter, {group::kMidFilter, nullptr}, false, true},
    {kSectionHighFilter, {group::kHighFilter, nullptr}, false, true},
    {kSectionAmplifier, {group::kDrive, nullptr}, false, true},
    {kSectionLevel, {group::kLevel, nullptr}, true, true},
    {kSectionAutoFilter, {group::kAutoFilter, nullptr}, false, true},
    {kSectionChorus, {group::kChorus, nullptr}, false, true},
};

constexpr const char* kKnobLayerGroups[] = {group::kPedalLayerA, group::kPedalLayerB,
                                            group::kPedalPreA,   group::kPedalPostA,
                                            group::kPedalPreB,   group::kPedalPostB};

// Lights exactly one of `count` buttons from `firstTag` (none for -1).
void LightOne(igraphics::IGraphics& g, int firstTag, int count, int lit) {
  for (int i = 0; i < count; ++i) {
    if (IControl* button = g.FindControlByTag(firstTag + i)) {
      button->SetValue(i == lit ? 1.0 : 0.0);
      button->Redraw();
    }
  }
}

} // namespace

ZorelSurface::ZorelSurface(igraphics::IGraphics& graphics, ZorelControl& editor)
    : mGraphics(graphics), mEditor(editor) {}

ITextControl* ZorelSurface::TextByTag(int tag) const {
  return dynamic_cast<ITextControl*>(mGraphics.FindControlByTag(tag));
}

int ZorelSurface::ParamInt(int paramIdx) const {
  const iplug::IParam* param = mEditor.ParamAt(paramIdx);
  return param ? param->Int() : 0;
}

// ---- Panels -----------------------------------------------------------------

void ZorelSurface::HideAllSections() {
  for (const char* g : kSectionGroups) SetGroupHidden(g, true);
  if (mHandles.dynamicsGraph) mHandles.dynamicsGraph->SetHidden(true);
}

void ZorelSurface::ShowSection(int section) {
  HideAllSections();
  for (const SectionView& view : kSectionViews) {
    if (view.section != section) continue;
    for (const char* g : view.groups)
      if (g != nullptr) SetGroupHidden(g, false);
    SetGroupHidden(group::kIRDisplay, view.dynamicsGraph);
    if (mHandles.dynamicsGraph) mHandles.dynamicsGraph->SetHidden(!view.dynamicsGraph);
    SetTagHidden(kTagClickToEditHint, !view.hint);
  }
}

void ZorelSurface::SetGroupHidden(const char* group, bool hidden) {
  mGraphics.ForEachInGroup(group, [hidden](IControl* c) { c->SetHidden(hidden); });
}

void ZorelSurface::SetGroupDisabled(const char* group, bool disabled) {
  mGraphics.ForEachInGroup(group, [disabled](IControl* c) { c->SetDisabledState(disabled); });
}

void ZorelSurface::SetParamControlsDisabled(int paramIdx, bool disabled) {
  mGraphics.SetParamControlsDisabled(paramIdx, disabled);
}

// The unmatched presets that resemble models 1 and 2 (11 and 12) light
// those models' buttons.
void ZorelSurface::SelectAmpModel(int model) {
  const int button = model == 11 ? 1 : model == 12 ? 2 : model;
  LightOne(mGraphics, kTagAmpModelButtonFirst, kAmpModelButtons,
           button >= 0 && button < kAmpModelButtons ? button : -1);
}

void ZorelSurface::SelectAmbienceType(int type) {
  LightOne(mGraphics, kTagAmbienceButtonFirst, kAmbienceButtons,
           type >= 0 && type < kAmbienceButtons ? type : -1);
}

void ZorelSurface::UpdateKnobLayer(bool midPre, bool filterOn) {
  for (const char* g : kKnobLayerGroups) SetGroupHidden(g, true);
  SetGroupHidden(filterOn ? group::kPedalLayerB : group::kPedalLayerA, false);
  const char* mid = filterOn ? (midPre ? group::kPedalPreB : group::kPedalPostB)
                             : (midPre ? group::kPedalPreA : group::kPedalPostA);
  SetGroupHidden(mid, false);
}

// ---- Readouts ---------------------------------------------------------------

template <class Texts> void ZorelSurface::ShowTexts(const Texts& texts) {
  for (const ui::ReadoutText& t : texts) SetTagText(t.tag, t.text);
}

// The value is read when the request runs, so a request queued on the
// audio thread shows the latest value, not a stale one.
void ZorelSurface::ShowReadout(int tag, int paramIdx) {
  const std::string text = ui::FormatReadoutForTag(tag, paramIdx, ParamInt(paramIdx));
  if (!text.empty()) SetTagText(tag, text);
}

void ZorelSurface::ShowPunchFilterReadouts() {
  ShowTexts(ui::FormatPunchReadouts(ParamInt(kParamPunch), ParamInt(kParamPunchFreq),
                                    ParamInt(kParamPunchQ)));
}

void ZorelSurface::ShowMidFilterReadouts() {
  ShowTexts(
      ui::FormatMidReadouts(ParamInt(kParamMid), ParamInt(kParamMidShift), ParamInt(kParamMidQ)));
}

void ZorelSurface::ShowHighFilterReadouts() {
  ShowTexts(ui::FormatHighReadouts(ParamInt(kParamHigh), ParamInt(kParamHighFreq),
                                   ParamInt(kParamHighQ)));
}

// ---- Tagged controls ----------------------------------------------------------

void ZorelSurface::SetTagText(int tag, const std::string& text) {
  if (ITextControl* c = TextByTag(tag)) c->SetText(text);
}

void ZorelSurface::SetTagTextColor(int tag, SurfaceColor color) {
  if (IControl* c = mGraphics.FindControlByTag(tag)) c->SetTextColor(ToColor(color));
}

void ZorelSurface::SetTagValue(int tag, double normalized) {
  if (IControl* c = mGraphics.FindControlByTag(tag)) {
    c->SetValue(normalized);
    c->Redraw();
  }
}

void ZorelSurface::SetTagHidden(int tag, bool hidden) {
  if (IControl* c = mGraphics.FindControlByTag(tag)) c->SetHidden(hidden);
}

void ZorelSurface::SetTagDisabled(int tag, bool disabled) {
  if (IControl* c = mGraphics.FindControlByTag(tag)) c->SetDisabledState(disabled);
}

void ZorelSurface::RedrawTag(int tag) {
  if (IControl* c = mGraphics.FindControlByTag(tag)) c->Redraw();
}

// Every change made through this surface marks the controls it touched, so
// marking all of them as well would only redraw the whole surface on every
// step of a knob drag.
void ZorelSurface::MarkAllDirty() {}

// ---- Lists ----------------------------------------------------------------------

void ZorelSurface::PlacePresetRow(int slot, float top, bool hidden) {
  if (slot < 0 || slot >= kPresetSlotCount) return;
  ITextControl* row = mHandles.presetRows[static_cast<size_t>(slot)];
  if (row == nullptr) return;
  row->SetHidden(hidden);
  row->MoveTo(row->Bounds().L, top);
}

void ZorelSurface::SetPresetRowColor(int slot, SurfaceColor color, bool redraw) {
  if (slot < 0 || slot >= kPresetSlotCount) return;
  ITextControl* row = mHandles.presetRows[static_cast<size_t>(slot)];
  if (row == nullptr) return;
  row->SetTextStyle(row->GetTextStyle().WithFGColor(ToColor(color)));
  // Rows scrolled out of view are drawn when they come back.
  if (redraw && !row->IsHidden()) row->Redraw();
}

void ZorelSurface::SetPresetRowText(int slot, const std::string& text) {
  if (slot < 0 || slot >= kPresetSlotCount) return;
  if (ITextControl* row = mHandles.presetRows[static_cast<size_t>(slot)]) row->SetText(text);
}

void ZorelSurface::SetIRNameRowText(int row, const std::string& text) {
  if (row < 0 || row >= kIRNameRows) return;
  if (ITextControl* c = mHandles.irNameRows[static_cast<size_t>(row)]) c->SetText(text);
}

void ZorelSurface::SetIRNameRowColor(int row, SurfaceColor color) {
  if (row < 0 || row >= kIRNameRows) return;
  // Only the colour: the rows belong to a page that is mostly hidden, and
  // showing a row would put it on top of the main surface.
  if (ITextControl* c = mHandles.irNameRows[static_cast<size_t>(row)])
    c->SetTextColor(ToColor(color));
}

void ZorelSurface::RefreshCabinetNames() {
  for (int k = 0; k < lib::kCabinetCount; ++k) {
    if (ITextControl* row = mHandles.cabinetRows[static_cast<size_t>(k)])
      row->SetText(mEditor.Library().CabinetName(k));
  }
}

// ---- Progress, messages, graphs ---------------------------------------------------

void ZorelSurface::ShowProgress(double fraction, const std::string& text) {
  SetTagValue(kTagProgressKnob, fraction);
  SetTagText(kTagProgressText, text);
}

void ZorelSurface::ShowMessage(const std::string& text) {
  mGraphics.ShowMessageDialog(text, "", MessageBoxType::kOK);
}

void ZorelSurface::SetGateThreshold(double db) {
  if (mHandles.dynamicsGraph) mHandles.dynamicsGraph->SetLowerThreshold(static_cast<float>(db));
}

void ZorelSurface::SetGateRatio(double ratio) {
  if (mHandles.dynamicsGraph) mHandles.dynamicsGraph->SetLowerSlope(static_cast<float>(ratio));
}

void ZorelSurface::SetCompressorThreshold(double db) {
  if (mHandles.dynamicsGraph) mHandles.dynamicsGraph->SetUpperThreshold(static_cast<float>(db));
}

void ZorelSurface::SetCompressorRatio(double ratio) {
  if (mHandles.dynamicsGraph) mHandles.dynamicsGraph->SetUpperSlope(static_cast<float>(ratio));
}

void ZorelSurface::SetResponseSamples(ResponseSamples samples) {
  if (mHandles.responseGraph && samples) mHandles.responseGraph->SetSamples(*samples);
}

} // namespace zorel
