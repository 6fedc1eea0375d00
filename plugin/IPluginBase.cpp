#include "plugin/IPluginBase.h"

#include <cstdio>
#include <cstring>

namespace iplug {

IPluginBase::IPluginBase(const PluginConfig& config)
    : igraphics::IGEditorDelegate(config.nParams), mPluginName(config.pluginName),
      mProductName(config.productName), mMfrName(config.mfrName), mVersion(config.vendorVersion),
      mPresets(static_cast<size_t>(config.nPresets)) {}

std::string IPluginBase::GetPluginVersionStr() const {
  char text[32];
  std::snprintf(text, sizeof text, "v%d.%d.%d", mVersion >> 16, (mVersion >> 8) & 0xFF,
                mVersion & 0xFF);
  return text;
}

bool IPluginBase::SerializeParams(std::vector<uint8_t>& chunk) const {
  for (int i = 0; i < ParamCount(); ++i) {
    const double value = ParamAt(i)->Current();
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int b = 0; b < 8; ++b) chunk.push_back(static_cast<uint8_t>(bits >> (8 * b)));
  }
  return !chunk.empty();
}

int IPluginBase::UnserializeParams(const std::vector<uint8_t>& chunk, int startPos) {
  int pos = startPos < 0 ? 0 : startPos;
  for (int i = 0; i < ParamCount(); ++i) {
    if (static_cast<size_t>(pos) + 8 > chunk.size()) {
      pos = -1;
      break;
    }
    uint64_t bits = 0;
    for (int b = 0; b < 8; ++b)
      bits |= static_cast<uint64_t>(chunk[static_cast<size_t>(pos + b)]) << (8 * b);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    ParamAt(i)->Store(value);
    pos += 8;
  }
  AnnounceParamReset(kPresetRecall);
  return pos;
}

void IPluginBase::AnnounceParamReset(EParamSource source) {
  for (int i = 0; i < ParamCount(); ++i) {
    OnParamChange(i, source, -1);
    NotifyUIParamChange(i, source);
  }
}

} // namespace iplug
