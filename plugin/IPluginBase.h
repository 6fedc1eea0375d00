#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plugin/IGEditorDelegate.h"
#include "plugin/IPlugConfig.h"

namespace iplug {

// A framework preset slot; the editor keeps its presets on the pedal and in
// its own library, so these stay "empty".
struct IPreset {
  bool mInitialized = false;
  std::string mName = "empty";
  std::vector<uint8_t> mChunk;
};

// Names, version and the framework preset slots.
class IPluginBase : public igraphics::IGEditorDelegate {
public:
  explicit IPluginBase(const PluginConfig& config);

  const std::string& GetPluginName() const { return mPluginName; }
  const std::string& GetProductName() const { return mProductName; }
  const std::string& GetMfrName() const { return mMfrName; }
  int GetPluginVersion() const { return mVersion; }
  // "v1.1.0" for 0x00010100.
  std::string GetPluginVersionStr() const;
  int NPresets() const { return static_cast<int>(mPresets.size()); }
  const IPreset& GetPreset(int i) const { return mPresets[static_cast<size_t>(i)]; }

  // Every parameter value as a little-endian IEEE-754 double, in index order.
  bool SerializeParams(std::vector<uint8_t>& chunk) const;
  // Reads values back from `startPos`; -1 when the chunk ends early (the
  // values read so far stay stored). Announces a reset either way.
  int UnserializeParams(const std::vector<uint8_t>& chunk, int startPos);
  virtual void AnnounceParamReset(EParamSource source);

private:
  std::string mPluginName;
  std::string mProductName;
  std::string mMfrName;
  int mVersion;
  std::vector<IPreset> mPresets;
};

} // namespace iplug
