#pragma once

// What a snapshot holds, as bytes: the messages an export of the same
// content would have recorded (preset dumps in slot order, then the dumps of
// the user IRs, in ascending number), followed by the settings blocks as the
// editor writes them (types 0, 1 and 2). A snapshot of the whole pedal has
// all 128 presets and the user IRs they use, so its first part is a backup
// the import takes as it is; a snapshot taken before a store holds the one
// preset that is overwritten.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "protocol/codec/IrTransfer.h"
#include "protocol/codec/PresetPayload.h"

namespace zorel {

struct SnapshotContent {
  struct Preset {
    int slot = 0;
    std::array<uint8_t, kPresetPayloadSize> payload{};
  };
  struct IR {
    int number = 0; // user IR 0..255
    std::array<uint8_t, kIRBlockSize> block{};
  };
  std::vector<Preset> presets;
  std::vector<IR> irs;
  // Complete settings-block messages (267 bytes each), sent back as they are.
  std::vector<std::vector<uint8_t>> settingsBlocks;
};

// Presets sorted by slot and IRs by number, each once; settings last.
std::vector<uint8_t> BuildSnapshotImage(SnapshotContent content);

struct SnapshotParts {
  bool ok = false;
  std::string problem;                        // why not, for the user
  std::vector<uint8_t> restore;               // the preset and IR dumps, for the import
  std::vector<std::vector<uint8_t>> settings; // the settings blocks, in order
  std::vector<int> slots;                     // presets held, in order
  std::vector<int> irNumbers;                 // user IRs held, in order
  bool WholePedal() const { return slots.size() == 128; }
};

// Splits and checks a snapshot: every message whole, every preset dump and
// settings block with its right checksum, every IR dump complete with its
// transfer checksum right. A snapshot of the whole pedal must also pass the
// backup check the import applies to any backup.
SnapshotParts SplitSnapshotImage(std::span<const uint8_t> image);

} // namespace zorel
