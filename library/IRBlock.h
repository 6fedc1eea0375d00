#pragma once

// The IR block (laid out in formats/DataFormats.h) and
// the small helpers every slot and file format shares: fixed 32-byte
// name fields and the block checksum of a 256-byte preset payload.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "formats/Checksums.h"
#include "formats/DataFormats.h"

namespace zorel::lib {

inline constexpr size_t kNameFieldLength = kNameLength;

using IRBlockBytes = std::array<uint8_t, kIRBlockSize>;
using IRBuffer = std::array<double, kIRBufferSize>;
using NameField = std::array<char, kNameFieldLength>;

// `text` cut to 32 bytes and padded with spaces.
NameField PadName(std::string_view text);

// A 32-byte name field as text: trailing spaces are removed by scanning
// positions 31 down to 1 for the last non-space and cutting after it; when
// positions 1..31 are all spaces the 32 bytes stay as they are. A zero byte
// ends the text, as it would in the 33-byte buffers the names live in.
std::string TrimName(std::span<const uint8_t, kNameFieldLength> field);
std::string TrimName(const NameField& field);

// trunc(x x 32768) as a 16-bit sample. Values at or beyond full scale are
// clamped to 32767 / -32768 rather than wrapped, and NaN becomes 0.
int16_t SampleToWord(double x);

// trunc(g x 32768) with g clamped to 0..1; g = 1.0 gives 0x8000.
uint16_t GainToWord(double g);

// Builds a block from a gain word, a name and the first 1200 samples of
// `samples` (missing samples count as 0).
IRBlockBytes BuildIRBlock(uint16_t gainWord, const NameField& name,
                          std::span<const double> samples);

uint16_t IRBlockGainWord(std::span<const uint8_t, kIRBlockSize> block);
// The gain word / 32768. The word is an unsigned level of at most 0x8000,
// so 0x8000 reads back as 1.0.
double IRBlockGain(std::span<const uint8_t, kIRBlockSize> block);
NameField IRBlockName(std::span<const uint8_t, kIRBlockSize> block);
// Samples / 32768 into buffer[0..1199]; the rest of the buffer is untouched.
void IRBlockSamplesInto(std::span<const uint8_t, kIRBlockSize> block, IRBuffer& buffer);

// The block checksum of a preset payload, as the slot cache keeps it.
using BlockChecksum = ChecksumPair;
inline BlockChecksum ComputeBlockChecksum(std::span<const uint8_t> bytes) {
  return zorel::BlockChecksum(bytes);
}

} // namespace zorel::lib
