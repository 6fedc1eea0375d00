#include "plugin/IEditorDelegate.h"

namespace iplug {

const char* ParamSourceName(EParamSource source) {
  switch (source) {
  case kReset:
    return "Reset";
  case kHost:
    return "Host";
  case kPresetRecall:
    return "Preset";
  case kUI:
    return "UI";
  case kDelegate:
    return "Editor Delegate";
  case kRecompile:
    return "Recompile";
  default:
    return "Unknown";
  }
}

IEditorDelegate::IEditorDelegate(int nParams) {
  mParams.reserve(static_cast<size_t>(nParams));
  for (int i = 0; i < nParams; ++i) mParams.push_back(std::make_unique<IParam>());
}

IEditorDelegate::~IEditorDelegate() {
  // Reverse order of creation.
  while (!mParams.empty()) mParams.pop_back();
}

IParam* IEditorDelegate::ParamAt(int index) {
  if (index < 0 || index >= ParamCount()) return nullptr;
  return mParams[static_cast<size_t>(index)].get();
}

const IParam* IEditorDelegate::ParamAt(int index) const {
  if (index < 0 || index >= ParamCount()) return nullptr;
  return mParams[static_cast<size_t>(index)].get();
}

void IEditorDelegate::OnParamChange(int paramIdx, EParamSource source, int sampleOffset) {
  OnParamChange(paramIdx);
}

} // namespace iplug
