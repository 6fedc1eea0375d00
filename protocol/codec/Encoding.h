#pragma once

// Number encodings and the two checksums of the protocol. Multi-byte numbers
// travel as 7-bit groups, most significant group first, because every body
// byte of a SysEx message must stay below 0x80.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "formats/Checksums.h"

namespace zorel {

// One 7-bit value byte. Out-of-range values keep their low 7 bits (as the
// low group of a wider number would) rather than spilling into bit 7.
constexpr uint8_t Encode7(int value) {
  return static_cast<uint8_t>(value & 0x7F);
}

// 14-bit values (IR numbers, IR slot numbers): {(v >> 7) & 0x7F, v & 0x7F}.
constexpr std::array<uint8_t, 2> Encode14(int value) {
  return {static_cast<uint8_t>((value >> 7) & 0x7F), static_cast<uint8_t>(value & 0x7F)};
}
constexpr int Decode14(uint8_t high, uint8_t low) {
  return ((high & 0x7F) << 7) | (low & 0x7F);
}

// 21-bit values (transfer sizes): three groups, high first.
inline constexpr uint32_t kMax21BitValue = 0x1FFFFF;
constexpr std::array<uint8_t, 3> Encode21(uint32_t value) {
  return {static_cast<uint8_t>((value >> 14) & 0x7F), static_cast<uint8_t>((value >> 7) & 0x7F),
          static_cast<uint8_t>(value & 0x7F)};
}
constexpr uint32_t Decode21(uint8_t high, uint8_t mid, uint8_t low) {
  return (static_cast<uint32_t>(high & 0x7F) << 14) | (static_cast<uint32_t>(mid & 0x7F) << 7) |
         static_cast<uint32_t>(low & 0x7F);
}

} // namespace zorel
