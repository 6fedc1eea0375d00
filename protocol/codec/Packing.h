#pragma once

// 7-bit packing of 8-bit data (IR blocks, firmware images). The input is one
// bit stream, most significant bit of the first byte first; each packed byte
// carries the next 7 bits in its bits 6..0. Bits past the end are 0, so for n
// input bytes there are (8n + 7) / 7 packed bytes: one more than the bits
// strictly need whenever 8n is a multiple of 7 (an IR block: 2436 -> 2785,
// the last one pure padding). The pedal counts the same way, so the padding
// byte is part of every transfer and its checksum.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zorel {

// Number of packed bytes for n input bytes: (8n + 7) / 7.
constexpr size_t PackedLength(size_t n) {
  return (8 * n + 7) / 7;
}

// Number of whole bytes that g packed bytes unpack to: (7g) / 8. Leftover
// bits (the padding) are ignored.
constexpr size_t UnpackedLength(size_t g) {
  return (7 * g) / 8;
}

// Packs `in` into `out`, which must hold at least PackedLength(in.size())
// bytes; returns the number written. Every written byte is below 0x80.
size_t Pack7Into(std::span<const uint8_t> in, std::span<uint8_t> out);

// Packs `in` into a new vector of PackedLength(in.size()) bytes.
std::vector<uint8_t> Pack7(std::span<const uint8_t> in);

// Unpacks a complete packed buffer: UnpackedLength(packed.size()) bytes.
// Bit 7 of each packed byte is ignored.
std::vector<uint8_t> Unpack7(std::span<const uint8_t> packed);

// Unpacks a packed stream that arrives in pieces (IR dump chunks): bits carry
// over from one Feed to the next, so chunk boundaries need not fall on byte
// boundaries of the output. Output stops at a limit set by Reset, so a
// transfer that announces or sends more than expected cannot grow the
// buffer past what the receiver can hold.
class StreamUnpacker {
public:
  // Starts a new stream that should produce `expected` bytes, of which at most
  // `capacity` are kept (the rest are counted as dropped).
  void Reset(size_t expected, size_t capacity);

  // Appends the 7 low bits of each byte to the stream; every complete 8 bits
  // become one output byte while the expected count is not reached. Bytes fed
  // after that are ignored. Returns the number of output bytes produced by
  // this call (kept or dropped).
  size_t Feed(std::span<const uint8_t> packed);

  // Output kept so far (at most `capacity` bytes).
  const std::vector<uint8_t>& Output() const { return mOutput; }
  // Bytes produced so far, including any beyond the capacity.
  size_t Produced() const { return mProduced; }
  size_t Expected() const { return mExpected; }
  // True once Produced() has reached Expected().
  bool Complete() const { return mProduced >= mExpected; }
  // True when output was produced past the capacity and thrown away.
  bool Overflowed() const { return mProduced > mOutput.size(); }

private:
  std::vector<uint8_t> mOutput;
  size_t mExpected = 0;
  size_t mCapacity = 0;
  size_t mProduced = 0;
  uint32_t mBits = 0;     // pending bits, right-aligned
  unsigned mBitCount = 0; // number of pending bits (0..13)
};

} // namespace zorel
