// The virtual pedal takes whatever a MIDI port hands it: any bytes, split
// into messages at F7, must be answered or ignored without harm.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/VirtualPedal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static zorel::sim::VirtualPedal* pedal = new zorel::sim::VirtualPedal();
  std::vector<uint8_t> message;
  for (size_t i = 0; i < size; ++i) {
    message.push_back(data[i]);
    if (data[i] == 0xF7 || i + 1 == size) {
      pedal->Receive(message);
      message.clear();
    }
  }
  pedal->CollectAll();
  return 0;
}
