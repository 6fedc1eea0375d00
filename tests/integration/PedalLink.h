#pragma once

// The editor core wired to the in-process virtual pedal, with a library
// folder that outlives the editors of one test.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "protocol/codec/PresetPayload.h"
#include "sim/VirtualPedal.h"
#include "tests/support/HeadlessEditor.h"

namespace zorel::test {

using Bytes = std::vector<uint8_t>;
using zorel::sim::VirtualPedal;

// Carries messages both ways until neither side has anything left.
struct Link {
  HeadlessEditor& editor;
  VirtualPedal& pedal;
  std::vector<Bytes> log; // everything the editor sent, in order
  // Changes a message on its way to the pedal (a damaged link).
  std::function<void(Bytes&)> tamper = nullptr;

  void Pump() {
    for (int round = 0; round < 10000; ++round) {
      auto sent = editor.TakeSent();
      if (sent.empty()) return;
      for (const Bytes& m : sent) {
        log.push_back(m);
        Bytes onWire = m;
        if (tamper) tamper(onWire);
        for (const Bytes& reply : pedal.Exchange(onWire)) editor.Receive(reply);
      }
    }
  }
  // Runs the device for `ms` milliseconds, carrying messages after each tick.
  void Run(int ms) {
    for (int t = 0; t < ms; t += 20) {
      editor.Advance(20);
      Pump();
    }
  }
  std::vector<Bytes> Commands(uint8_t command) const {
    std::vector<Bytes> out;
    for (const Bytes& m : log)
      if (m.size() > 5 && m[5] == command) out.push_back(m);
    return out;
  }
};

// A library folder that outlives the editors of one test: the process has one
// device tick, owned by the editor constructed first, so editors take turns.
struct TempLibrary {
  TempLibrary() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zorel-it-XXXXXX").string();
    root = mkdtemp(pattern.data()) ? pattern : std::string();
  }
  ~TempLibrary() {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
  }
  std::string root;
};

inline void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// No preset plays a user IR: a backup of the pedal then holds presets only,
// until a test turns some on.
inline void NoUserIRsInUse(sim::PedalState& state) {
  for (auto& p : state.presets) {
    p[PayloadParamOffset(kParamUserIR7Mode)] = 0;
    p[PayloadParamOffset(kParamUserIR8Mode)] = 0;
  }
}

// Presets 3 and 9 play user IRs 0 and 200, which hold content of their own.
inline void UseTwoUserIRs(sim::PedalState& state) {
  NoUserIRsInUse(state);
  state.presets[3][PayloadParamOffset(kParamUserIR7Mode)] = 1;
  state.presets[3][PayloadParamOffset(kParamUserIR7PresetMSB)] = 0;
  state.presets[3][PayloadParamOffset(kParamUserIR7Preset)] = 0;
  state.presets[9][PayloadParamOffset(kParamUserIR8Mode)] = 1;
  state.presets[9][PayloadParamOffset(kParamUserIR8PresetMSB)] = 1;
  state.presets[9][PayloadParamOffset(kParamUserIR8Preset)] = 72;
  for (size_t i = 0; i < state.userIRs[0].size(); ++i) {
    state.userIRs[0][i] = static_cast<uint8_t>((i * 3) & 0x7F);
    state.userIRs[200][i] = static_cast<uint8_t>((255 - i) & 0x7F);
  }
}

// A short mono 16-bit WAV at 44.1 kHz: an impulse, then silence.
inline std::vector<uint8_t> ImpulseWav() {
  std::vector<uint8_t> w = {'R', 'I', 'F',  'F',  0,   0,   0,    0,    'W',  'A', 'V',
                            'E', 'f', 'm',  't',  ' ', 16,  0,    0,    0,    1,   0,
                            1,   0,   0x44, 0xAC, 0,   0,   0x88, 0x58, 1,    0,   2,
                            0,   16,  0,    'd',  'a', 't', 'a',  0x20, 0x03, 0,   0};
  for (int i = 0; i < 400; ++i) {
    const int16_t s = static_cast<int16_t>(i == 0 ? 20000 : 0);
    w.push_back(static_cast<uint8_t>(s & 0xFF));
    w.push_back(static_cast<uint8_t>(s >> 8));
  }
  return w;
}

inline bool Connected(HeadlessEditor& h) {
  return h.Editor().State().mConnected;
}

} // namespace zorel::test
