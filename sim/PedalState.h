#pragma once

// Everything a Zorel keeps, as plain data: what the state file saves, what
// the factory reset restores and what tests compare. The message handling
// lives in PedalModel; this file knows no messages.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "protocol/codec/Frame.h"
#include "protocol/codec/IrTransfer.h"
#include "protocol/codec/PresetPayload.h"
#include "protocol/codec/SettingsBlocks.h"

namespace zorel::sim {

inline constexpr int kFactoryIRCount = 8;
inline constexpr size_t kSerialLength = 32;

using IRBlock = std::array<uint8_t, kIRBlockSize>;

struct PedalState {
  // The 128 stored programs and the edit buffer that is playing.
  std::array<PresetPayload, kPresetSlotCount> presets{};
  PresetPayload editBuffer{};
  int currentProgram = 0;

  // IR blocks by pedal number: user IRs 0..255, factory IRs 384..391.
  std::array<IRBlock, kUserIRSlotCount> userIRs{};
  std::array<IRBlock, kFactoryIRCount> factoryIRs{};

  // Type 0 as the pedal reports it. Data offset 0 is not kept here: it is
  // always the current program at the moment the block is sent.
  BlockData globalData{};
  // Type 1, data offsets 0..15 (the eight knob CC numbers, then the
  // program-map pairs and the jack set-up).
  std::array<uint8_t, kMidiAssignmentCount> midiAssignments{};
  // Type 2: entry k = program selected by incoming program change k.
  std::array<uint8_t, kProgramMapSize> programMap{};

  int firmwareVersionTimes10 = 11;
  std::string serial; // exactly kSerialLength printable characters
  bool filterOn = false;

  friend bool operator==(const PedalState&, const PedalState&) = default;
};

// The IR block a pedal number addresses, or null for numbers that hold none
// (256..383 and above 391).
IRBlock* FindIR(PedalState& state, int number);
const IRBlock* FindIR(const PedalState& state, int number);

// Block checksum of every stored program, as the type-3 list reports them.
PresetChecksumList StoredChecksums(const PedalState& state);

// Copies program `slot` into the edit buffer and makes it the current one.
// The FILTER footswitch follows the program: on when its auto filter or its
// chorus is on, which is how the editor reads a dump too.
void LoadProgram(PedalState& state, int slot);

// Name field (32 raw bytes) of an IR block, and whether it marks an empty slot.
std::string IRBlockName(const IRBlock& block);
bool IRBlockIsEmpty(const IRBlock& block);

} // namespace zorel::sim
