#include "protocol/codec/Packing.h"

#include <algorithm>

namespace zorel {

size_t Pack7Into(std::span<const uint8_t> in, std::span<uint8_t> out) {
  uint32_t acc = 0;  // pending bits, right-aligned
  unsigned bits = 0; // how many (0..6 between input bytes)
  size_t o = 0;
  for (uint8_t b : in) {
    acc = (acc << 8) | b;
    bits += 8;
    while (bits >= 7) {
      bits -= 7;
      out[o++] = static_cast<uint8_t>((acc >> bits) & 0x7F);
    }
    acc &= (1u << bits) - 1;
  }
  // The final byte: the leftover bits, zero filled; pure padding when none are
  // left. This is what makes the count (8n + 7) / 7 rather than ceil(8n / 7).
  out[o++] = static_cast<uint8_t>((acc << (7 - bits)) & 0x7F);
  return o;
}

std::vector<uint8_t> Pack7(std::span<const uint8_t> in) {
  std::vector<uint8_t> out(PackedLength(in.size()));
  Pack7Into(in, out);
  return out;
}

std::vector<uint8_t> Unpack7(std::span<const uint8_t> packed) {
  std::vector<uint8_t> out;
  out.reserve(UnpackedLength(packed.size()));
  uint32_t acc = 0;
  unsigned bits = 0;
  for (uint8_t b : packed) {
    acc = (acc << 7) | (b & 0x7Fu);
    bits += 7;
    if (bits >= 8) {
      bits -= 8;
      out.push_back(static_cast<uint8_t>(acc >> bits));
      acc &= (1u << bits) - 1;
    }
  }
  return out;
}

void StreamUnpacker::Reset(size_t expected, size_t capacity) {
  mOutput.clear();
  mOutput.reserve(std::min(expected, capacity));
  mExpected = expected;
  mCapacity = capacity;
  mProduced = 0;
  mBits = 0;
  mBitCount = 0;
}

size_t StreamUnpacker::Feed(std::span<const uint8_t> packed) {
  const size_t before = mProduced;
  for (uint8_t b : packed) {
    if (mProduced >= mExpected) break;
    mBits = (mBits << 7) | (b & 0x7Fu);
    mBitCount += 7;
    if (mBitCount >= 8) {
      mBitCount -= 8;
      const auto out = static_cast<uint8_t>(mBits >> mBitCount);
      mBits &= (1u << mBitCount) - 1;
      if (mOutput.size() < mCapacity) mOutput.push_back(out);
      ++mProduced;
    }
  }
  return mProduced - before;
}

} // namespace zorel
