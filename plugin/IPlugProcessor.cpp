#include "plugin/IPlugProcessor.h"

#include <cstdlib>
#include <cstring>

namespace iplug {

void ParseChannelIO(const char* text, int& inputs, int& outputs) {
  inputs = 0;
  outputs = 0;
  if (text == nullptr) return;
  char* end = nullptr;
  const long in = std::strtol(text, &end, 10);
  if (end == text || *end != '-') return;
  const char* rest = end + 1;
  const long out = std::strtol(rest, &end, 10);
  if (end == rest) return;
  if (in >= 0 && in <= 64) inputs = static_cast<int>(in);
  if (out >= 0 && out <= 64) outputs = static_cast<int>(out);
}

IPlugProcessor::IPlugProcessor(const PluginConfig& config) : mLatency(config.latency) {
  ParseChannelIO(config.channelIOStr, mInputChannels, mOutputChannels);
}

} // namespace iplug
