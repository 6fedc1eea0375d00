#pragma once

// The content of a fresh pedal: 128 named programs built from the amplifier
// models and ambience types the editor knows, the eight factory cabinet IRs,
// a few user IRs (the rest of the 256 slots empty) and the factory settings.
// Everything is computed, deterministic and the same on every run, so a
// factory reset and a fresh state file always agree.

#include <array>
#include <span>
#include <string_view>

#include "sim/PedalState.h"

namespace zorel::sim {

// Range and default of sound parameter `index` (0..73), as the pedal's
// parameter table has them.
struct SoundParamRange {
  int min = 0;
  int max = 127;
  int defaultValue = 0;
};
SoundParamRange SoundParamRangeOf(int index);

inline constexpr std::string_view kDefaultSerial = "ZRL1-SIM0-0000-0000-0000-0000-01";
inline constexpr int kDefaultFirmwareVersionTimes10 = 11;

// Number of IR samples a block carries and the rate they are meant for.
inline constexpr size_t kIRSampleCount = 1200;
inline constexpr double kIRSampleRate = 44100.0;

// An IR block: format 1, the level word the editor computes for these
// samples (1.2 / (rms-sum x sqrt 2), at most 1.0), the name padded to 32
// characters, up to 1200 samples in [-1, 1) (missing ones are 0).
IRBlock BuildIRBlock(std::string_view name, std::span<const double> samples);
// What an empty user IR slot holds: a name of 32 spaces, silence, level 1.0.
IRBlock EmptyIRBlock();

std::array<PresetPayload, kPresetSlotCount> FactoryPresets();
std::array<IRBlock, kFactoryIRCount> FactoryIRs();
std::array<IRBlock, kUserIRSlotCount> FactoryUserIRs();

// A complete fresh pedal: factory programs, IRs and settings, program 0 in
// the edit buffer.
PedalState MakeFactoryState();

// The parts a factory reset restores (see PedalModel for which scope does
// what). Both leave the edit buffer holding the current program.
void RestoreFactoryPresets(PedalState& state);
void RestoreFactorySettings(PedalState& state);

} // namespace zorel::sim
