#pragma once

// The two checksums of the pedal's data, shared by the protocol's messages
// and the library's files: both must agree with what the pedal computes.

#include <cstdint>
#include <span>

namespace zorel {

// A checksum as it travels and as the slot cache keeps it: two 7-bit bytes,
// high first.
struct ChecksumPair {
  uint8_t high = 0;
  uint8_t low = 0;
  friend constexpr bool operator==(const ChecksumPair&, const ChecksumPair&) = default;
};

// The pair for a plain sum S: {(S >> 7) & 0x7F, S & 0x7F}. Only bits 0..13 of
// S survive, so callers may keep S modulo 16384 or let it grow.
constexpr ChecksumPair ChecksumFromSum(uint32_t sum) {
  return {static_cast<uint8_t>((sum >> 7) & 0x7F), static_cast<uint8_t>(sum & 0x7F)};
}

// Plain unsigned sum of bytes.
inline uint32_t ByteSum(std::span<const uint8_t> bytes) {
  uint32_t sum = 0;
  for (uint8_t b : bytes) sum += b;
  return sum;
}

// `BlockChecksum`: over the 256 data bytes of a block message (a preset
// payload, a settings block). The sum of 256 7-bit bytes is at most 32512,
// so the pair loses nothing for well-formed data. It is also the per-slot
// checksum the pedal reports in its checksum list and the slot cache keeps.
inline ChecksumPair BlockChecksum(std::span<const uint8_t> data) {
  return ChecksumFromSum(ByteSum(data));
}

// `TransferChecksum`: over all packed bytes of one chunked transfer (IR upload,
// IR dump, firmware image), sent after the last chunk's data.
inline ChecksumPair TransferChecksum(std::span<const uint8_t> packed) {
  return ChecksumFromSum(ByteSum(packed));
}

} // namespace zorel
