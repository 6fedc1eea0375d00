// The amplifier model and ambience type buttons: a click lights the button
// and writes the model's or type's values into the preset, which then goes
// to the pedal in one piece.
#include <array>
#include <utility>

#include "editor/ZorelControl.h"
#include "protocol/ModelDefaults.h"
#include "protocol/codec/ParamIds.h"

namespace zorel {

void ZorelControl::ChooseAmpModel(int model) {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  if (model < 0 || model >= kAmpModelCount) return;
  const PresetSnapshot before = CurrentSnapshot();
  BeginStep();
  mHistory.MarkWholePreset();
  SelectAmpModel(model);
  if (!ApplyAmpModelDefaults(model)) KeepLocally(before);
  EndStep();
}

void ZorelControl::ChooseAmbienceType(int type) {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  if (type < 0 || type >= kAmbienceTypeCount) return;
  const PresetSnapshot before = CurrentSnapshot();
  BeginStep();
  mHistory.MarkWholePreset();
  SelectAmbienceType(type);
  if (!ApplyAmbienceDefaults(type)) KeepLocally(before);
  EndStep();
}

bool ZorelControl::ApplyAmpModelDefaults(int model) {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  if (model < 0 || model >= kAmpModelCount) return true;
  const int* row = kAmpModelDefaults[model];
  // Gain, punch frequency, drive and preset level first, then buzz, punch
  // and crunch, each followed by its Q.
  const std::array<std::pair<int, int>, 10> values = {{
      {kParamGain, row[0]},
      {kParamPunchFreq, row[7]},
      {kParamDrive, row[8]},
      {kParamPresetLevel, row[10]},
      {kParamBuzz, row[1]},
      {kParamBuzzQ, row[4]},
      {kParamPunch, row[2]},
      {kParamPunchQ, row[5]},
      {kParamCrunch, row[3]},
      {kParamCrunchQ, row[6]},
  }};
  // The two models that use the punch filter start from a flat mid filter.
  return ApplyDefaultsBlock(values, model == 1 || model == 2, Overwrite::kAmpModel);
}

bool ZorelControl::ApplyAmbienceDefaults(int type) {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  if (type < 0 || type >= kAmbienceTypeCount) return true;
  const int* row = kAmbienceDefaults[type];
  const std::array<std::pair<int, int>, 10> values = {{
      {kParamReverbRoomSize, row[0]},
      {kParamReverbModulationDepth, row[8]},
      {kParamReverbModulationRate, row[9]},
      {kParamReverbDiffusion, row[1]},
      {kParamReverbExtensionFactor, row[2]},
      {kParamReverbFbkDelaySize, row[3]},
      {kParamReverbFbkFilter, row[4]},
      {kParamReverbFbkDamperFactor, row[5]},
      {kParamReverbLPFilter, row[6]},
      {kParamReverbHPFilter, row[7]},
  }};
  return ApplyDefaultsBlock(values, false, Overwrite::kAmbienceType);
}

// Each value goes through the dispatcher like an edit (live values, readouts)
// but, with sending suppressed, neither reaches the pedal on its own nor
// switches the panel away; the whole preset follows at the end, stored into
// the current program after a snapshot of it.
bool ZorelControl::ApplyDefaultsBlock(std::span<const std::pair<int, int>> values, bool flatMid,
                                      Overwrite op) {
  mState.mSendSuppressed = true;
  mState.mTrackEdits = false;
  for (const auto& [index, value] : values) {
    if (const iplug::IParam* param = ParamAt(index)) SetAndQueue(index, param->Normalize(value));
  }
  if (flatMid) SetAndQueue(kParamMid, 0.5);
  mState.mSendSuppressed = false;
  mState.mTrackEdits = true;
  return WriteEditedPreset(op);
}

} // namespace zorel
