// Undo, redo and compare: the history of the current preset's edits, and
// the switch between the edited preset and its stored version. What they
// put back reaches the pedal the way the edit it repeats would: values one
// by one through the dispatcher, a model choice or a rename as one preset.
#include <algorithm>
#include <vector>

#include "editor/ZorelControl.h"
#include "protocol/codec/Names.h"
#include "protocol/codec/PresetPayload.h"

namespace zorel {

PresetSnapshot ZorelControl::CurrentSnapshot() const {
  PresetSnapshot now;
  now.values = mShownValues;
  now.name = mState.mPresetName;
  now.ampModel = mView.mAmpModel;
  now.ambienceType = mView.mAmbienceType;
  return now;
}

void ZorelControl::BeginStep() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  mHistory.Begin(CurrentSnapshot());
}

void ZorelControl::EndStep() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  mHistory.End(CurrentSnapshot());
}

void ZorelControl::BeginEditGesture() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  if (mSurfaceGesture) return;
  mSurfaceGesture = true;
  BeginStep();
}

void ZorelControl::EndEditGesture() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  if (!mSurfaceGesture) return;
  mSurfaceGesture = false;
  EndStep();
}

bool ZorelControl::ApplySnapshot(const PresetSnapshot& target, StepKind kind) {
  SessionState& s = mState;
  bool written = true;
  mReplaying = true;
  auto put = [&](int i) {
    const int value = target.values[static_cast<size_t>(i)];
    if (mShownValues[static_cast<size_t>(i)] == value) return;
    if (const iplug::IParam* p = ParamAt(i)) SetAndQueue(i, p->Normalize(value));
  };
  if (kind == StepKind::kWholePreset) {
    // As a model choice: every value with sending held back, then the
    // preset in one message.
    const bool suppressed = s.mSendSuppressed;
    s.mSendSuppressed = true;
    s.mTrackEdits = false;
    for (int i = 0; i < kNumPresetParams; ++i) put(i);
    s.mSendSuppressed = suppressed;
    s.mTrackEdits = true;
    s.mPresetName = target.name;
    if (!suppressed) written = WriteEditedPreset(Overwrite::kUndo);
  } else {
    // The pedal ignores a chorus depth while the chorus level is 0, and the
    // dispatcher raises the level first: a level going up goes first, one
    // going down last, so that neither undoes the other.
    std::vector<int> order;
    const bool levelFirst = target.values[kParamChorusLevel] != 0;
    if (levelFirst) order.push_back(kParamChorusLevel);
    for (int i = 0; i < kNumPresetParams; ++i)
      if (i != kParamChorusLevel) order.push_back(i);
    if (!levelFirst) order.push_back(kParamChorusLevel);
    for (int i : order) put(i);
    s.mPresetName = target.name;
  }
  if (mView.mAmpModel != target.ampModel) SelectAmpModel(target.ampModel);
  if (mView.mAmbienceType != target.ambienceType) SelectAmbienceType(target.ambienceType);
  const std::string name = target.name;
  mSurface.Post([name](IControlSurface& c) { c.SetTagText(kTagPresetName, name); });
  // Edited means differing from the preset as loaded, as the number's
  // colour shows it.
  if (s.mConnected) {
    bool modified = false;
    for (int i = 0; i < kNumPresetParams; ++i)
      modified = modified ||
                 s.mLiveValues[static_cast<size_t>(i)] != s.mLoadedValues[static_cast<size_t>(i)];
    s.mPresetModified = modified;
  }
  mReplaying = false;
  return written;
}

bool ZorelControl::Undo() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  if (mHistory.InGesture()) return false; // a knob still held
  const bool compared = mComparing;
  if (mComparing) EndCompare();
  const auto step = mHistory.TakeUndo();
  // A write the user stopped leaves the pedal, the editor and the history
  // as they were.
  if (step && !ApplySnapshot(step->before, step->kind)) {
    KeepLocally(step->after);
    mHistory.TakeRedo();
  }
  return step.has_value() || compared;
}

bool ZorelControl::Redo() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  if (mHistory.InGesture()) return false;
  if (mComparing) EndCompare();
  const auto step = mHistory.TakeRedo();
  if (step && !ApplySnapshot(step->after, step->kind)) {
    KeepLocally(step->before);
    mHistory.TakeUndo();
  }
  return step.has_value();
}

bool ZorelControl::ToggleCompare() {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  if (mHistory.InGesture()) return false;
  if (mComparing) {
    EndCompare();
    return true;
  }
  const auto payload = mLibrary->Slots().ReadPresetSlot(mState.mCurrentPresetSlot);
  if (!payload) {
    ShowMessage("The stored version of this preset is not in the library yet.");
    return false;
  }
  const ParsedPreset stored = ParsePresetPayload(*payload);
  PresetSnapshot target = CurrentSnapshot();
  for (int i = 0; i < kNumPresetParams; ++i)
    target.values[static_cast<size_t>(i)] = stored.values[static_cast<size_t>(i)];
  target.ampModel = IdentifyAmpModel(stored.values);
  target.ambienceType = IdentifyAmbienceType(stored.values);
  // The name is the edited one throughout: only a whole preset could carry
  // the stored one to the pedal.
  mCompareEdits = CurrentSnapshot();
  mComparing = true;
  ApplySnapshot(target, StepKind::kParameters);
  return true;
}

void ZorelControl::EndCompare() {
  mComparing = false;
  ApplySnapshot(mCompareEdits, StepKind::kParameters);
}

// An edit made while the stored version is shown builds on it; the edits
// it replaces stay one undo away.
void ZorelControl::LeaveCompareInPlace() {
  mComparing = false;
  mHistory.Push({mCompareEdits, CurrentSnapshot(), StepKind::kParameters});
}

} // namespace zorel
