#pragma once

// Small helpers for writing expected messages as the hex text they are
// quoted in ("F0 00 51 21 05 ...").

#include <cstdint>
#include <cstdlib>
#include <span>
#include <sstream>
#include <string>
#include <vector>

namespace zorel::test {

inline std::vector<uint8_t> Hex(const std::string& text) {
  std::vector<uint8_t> out;
  std::istringstream in(text);
  std::string byte;
  while (in >> byte) out.push_back(static_cast<uint8_t>(std::strtoul(byte.c_str(), nullptr, 16)));
  return out;
}

template <typename Container> std::vector<uint8_t> Vec(const Container& c) {
  return std::vector<uint8_t>(std::begin(c), std::end(c));
}

// A deterministic pseudo-random byte pattern (full 8-bit range).
inline std::vector<uint8_t> Pattern(size_t n, uint32_t seed = 1) {
  std::vector<uint8_t> out(n);
  for (auto& b : out) {
    seed = seed * 1664525u + 1013904223u;
    b = static_cast<uint8_t>(seed >> 24);
  }
  return out;
}

} // namespace zorel::test
