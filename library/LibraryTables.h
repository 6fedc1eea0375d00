#pragma once

// The in-memory side of the library that the editor object owns: what the
// preset list shows, the checksums a connection compares with the pedal's,
// the IR names and the IR working buffer. Filled from the slot files by
// SlotCache; not synchronised of its own (the editor's lock covers it, as it
// covers every other piece of editor state).

#include <array>
#include <cstdint>
#include <string>

#include "library/IRBlock.h"

namespace zorel::lib {

// 256 user IR names, then the 32 rows of the "Factory Bank" page.
inline constexpr int kUserIRNameCount = 288;
inline constexpr int kFactoryIRCount = 8;
// "Flat Curve" and the eight factory cabinets.
inline constexpr int kCabinetCount = 9;

struct LibraryTables {
  LibraryTables();

  // Texts of the 128 preset list rows: " %02d " with the display number,
  // then the 32 name bytes when the slot file exists.
  std::array<std::string, kPresetSlotCount> mPresetRowTexts;
  std::array<BlockChecksum, kPresetSlotCount> mPresetChecksums{};
  // Slots that must be read from the pedal (set by the checksum comparison,
  // cleared when the slot's dump arrives).
  std::array<bool, kPresetSlotCount> mPresetFetchFlags{};
  std::array<std::string, kUserIRNameCount> mUserIRNames;
  std::array<std::string, kCabinetCount> mCabinetNames;

  IRBuffer mIRBuffer{};
  double mIRGain = 1.0;
};

// "Empty Slot %d" with (number mod 32) + 1.
std::string EmptySlotName(int number);

} // namespace zorel::lib
