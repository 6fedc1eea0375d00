// The program names of a fresh virtual pedal, one per line in slot order
// (trailing blanks removed): what the window's preset rows must show once
// it has read the pedal.
#include <cstdio>
#include <string>

#include "protocol/codec/PresetPayload.h"
#include "sim/FactoryContent.h"

int main() {
  const zorel::sim::PedalState state = zorel::sim::MakeFactoryState();
  for (const zorel::PresetPayload& preset : state.presets) {
    std::string name = zorel::ParsePresetPayload(preset).name;
    while (!name.empty() && name.back() == ' ') name.pop_back();
    std::printf("%s\n", name.c_str());
  }
  return 0;
}
