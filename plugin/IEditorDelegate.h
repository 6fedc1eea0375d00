#pragma once

#include <memory>
#include <vector>

#include "plugin/IParam.h"

namespace iplug {

// Who changed a parameter.
enum EParamSource {
  kReset = 0,
  kHost = 1,
  kPresetRecall = 2,
  kUI = 3,
  kDelegate = 4,
  kRecompile = 5,
  kUnknown = 6,
};
const char* ParamSourceName(EParamSource source);

// Owns the parameter list and turns changes into notifications.
class IEditorDelegate {
public:
  explicit IEditorDelegate(int nParams);
  virtual ~IEditorDelegate();
  IEditorDelegate(const IEditorDelegate&) = delete;
  IEditorDelegate& operator=(const IEditorDelegate&) = delete;

  int ParamCount() const { return static_cast<int>(mParams.size()); }
  IParam* ParamAt(int index);
  const IParam* ParamAt(int index) const;

  // The editor's dispatcher overrides this one.
  virtual void OnParamChange(int paramIdx) {}
  virtual void OnParamChange(int paramIdx, EParamSource source, int sampleOffset);
  virtual void NotifyUIParamChange(int paramIdx, EParamSource source) {}

private:
  std::vector<std::unique_ptr<IParam>> mParams;
};

} // namespace iplug
