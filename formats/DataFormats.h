#pragma once

// Sizes and offsets of the pedal's two data units, shared by the protocol's
// messages and the library's files.
//
// The preset payload (256 bytes): what a preset dump carries, what a
// write-preset message sends and what a preset slot file stores.
//   0        0x01 (fixed, not read)      34..107  parameters 0..73
//   1        0x00 (fixed, not read)      108..191 zeros
//   2..33    preset name                 192..223 name of user IR 7
//                                        224..255 name of user IR 8
//
// The IR block (2436 bytes, little-endian): the unit of every IR slot file,
// IR dump, IR upload and IR embedded in a preset file.
//   0    2     format word, always 1
//   2    2     gain word: trunc(g x 32768) of the level factor g <= 1.0
//   4    32    name, padded with spaces, no terminator
//   36   2400  1200 samples, signed 16-bit, trunc(x x 32768)

#include <cstddef>

namespace zorel {

// What the pedal holds: 128 preset slots and 256 user IR slots, whose names
// it lists in pages of 32.
inline constexpr int kPresetSlotCount = 128;
inline constexpr int kUserIRSlotCount = 256;
inline constexpr int kIRNameRows = 32;

// Every name field: 32 bytes, padded with spaces.
inline constexpr size_t kNameLength = 32;

inline constexpr size_t kPresetPayloadSize = 256;
inline constexpr size_t kPayloadNameOffset = 2;
inline constexpr size_t kPayloadParamsOffset = 34;
inline constexpr size_t kPayloadIR7NameOffset = 192;
inline constexpr size_t kPayloadIR8NameOffset = 224;

inline constexpr size_t kIRBlockSize = 2436;
inline constexpr size_t kIRBlockSamples = 1200;
inline constexpr size_t kIRBlockNameOffset = 4;
inline constexpr size_t kIRBlockSamplesOffset = 36;

// The IR working buffer: 4096 samples at 44100 Hz; only the first 1200 are
// stored in blocks, the rest feed the response display.
inline constexpr size_t kIRBufferSize = 4096;
inline constexpr double kIRSampleRate = 44100.0;

} // namespace zorel
