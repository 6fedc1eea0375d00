#pragma once

#include <cstdint>

namespace iplug {

// A short MIDI message; the offset is always 0 in the standalone editor.
struct MidiMessage {
  int32_t mOffset = 0;
  uint8_t mStatus = 0;
  uint8_t mData1 = 0;
  uint8_t mData2 = 0;
};

// A SysEx message held by value so it can travel through a ring.
struct QueuedSysEx {
  static constexpr int kMaxSize = 512;
  int32_t mOffset = 0;
  int32_t mSize = 0;
  uint8_t mData[kMaxSize];
};

// A SysEx message handed to SendSysEx and ProcessSysEx; the bytes are
// borrowed for the duration of the call.
struct SysExMessage {
  int32_t mOffset = 0;
  int32_t mSize = 0;
  const uint8_t* mData = nullptr;
};

} // namespace iplug
