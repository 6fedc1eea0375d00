#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "protocol/codec/ParamIds.h"

namespace zorel {

// The current preset as the user sees it at one moment: its sound
// parameters, its name and the lit amplifier-model and ambience buttons.
struct PresetSnapshot {
  std::array<int, kNumPresetParams> values{};
  std::string name;
  int ampModel = 10;
  int ambienceType = 7;
  bool operator==(const PresetSnapshot&) const = default;
};

// How a step goes to the pedal when it is taken back or made again: value
// by value, as a knob or a button sends it, or as one whole preset, as a
// model or ambience choice and a new name are sent.
enum class StepKind { kParameters, kWholePreset };

struct EditStep {
  PresetSnapshot before;
  PresetSnapshot after;
  StepKind kind = StepKind::kParameters;
};

// Undo and redo of the edits of the current preset. A step is everything
// that changed between the start and the end of one gesture (a knob drag
// from press to release, a button click, a model choice, a rename);
// gestures nest and only the outermost one makes a step. Steps hold whole
// snapshots, so taking one back puts every value of the earlier moment
// back, whatever happened to the preset in between.
class EditHistory {
public:
  static constexpr size_t kMaxSteps = 200;

  void Begin(const PresetSnapshot& now);
  // The open gesture reaches the pedal as a whole preset.
  void MarkWholePreset();
  // Ends a gesture; true when the outermost one changed something and was
  // recorded. An End without a Begin is ignored.
  bool End(const PresetSnapshot& now);
  bool InGesture() const { return mDepth > 0; }

  // A step made elsewhere (the edits left behind when an edit ends a
  // comparison); forgets what could be made again.
  void Push(EditStep step);

  // The step to take back / to make again, moved to the other list.
  std::optional<EditStep> TakeUndo();
  std::optional<EditStep> TakeRedo();

  // Another preset: every step is forgotten, and a gesture still open
  // starts again from `now`.
  void Clear(const PresetSnapshot& now);

  size_t UndoCount() const { return mUndo.size(); }
  size_t RedoCount() const { return mRedo.size(); }

private:
  std::vector<EditStep> mUndo;
  std::vector<EditStep> mRedo;
  PresetSnapshot mOpenBefore;
  StepKind mOpenKind = StepKind::kParameters;
  int mDepth = 0;
};

} // namespace zorel
