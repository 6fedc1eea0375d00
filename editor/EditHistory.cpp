#include "editor/EditHistory.h"

#include <utility>

namespace zorel {

void EditHistory::Begin(const PresetSnapshot& now) {
  if (mDepth++ > 0) return;
  mOpenBefore = now;
  mOpenKind = StepKind::kParameters;
}

void EditHistory::MarkWholePreset() {
  if (mDepth > 0) mOpenKind = StepKind::kWholePreset;
}

bool EditHistory::End(const PresetSnapshot& now) {
  if (mDepth == 0 || --mDepth > 0) return false;
  if (now == mOpenBefore) return false;
  Push({mOpenBefore, now, mOpenKind});
  return true;
}

void EditHistory::Push(EditStep step) {
  mRedo.clear();
  mUndo.push_back(std::move(step));
  // A long session keeps the latest steps, not every one it ever made.
  if (mUndo.size() > kMaxSteps) mUndo.erase(mUndo.begin());
}

std::optional<EditStep> EditHistory::TakeUndo() {
  if (mUndo.empty()) return std::nullopt;
  EditStep step = std::move(mUndo.back());
  mUndo.pop_back();
  mRedo.push_back(step);
  return step;
}

std::optional<EditStep> EditHistory::TakeRedo() {
  if (mRedo.empty()) return std::nullopt;
  EditStep step = std::move(mRedo.back());
  mRedo.pop_back();
  mUndo.push_back(step);
  return step;
}

void EditHistory::Clear(const PresetSnapshot& now) {
  mUndo.clear();
  mRedo.clear();
  if (mDepth > 0) mOpenBefore = now;
}

} // namespace zorel
