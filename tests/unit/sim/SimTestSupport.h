#pragma once

// Hand-built messages and an independent packer, written from the message
// tables rather than from the codec, so that the pedal's bytes are checked
// against the format itself.

#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

namespace zorel::sim::test {

using Bytes = std::vector<uint8_t>;

inline Bytes Hex(std::initializer_list<int> bytes) {
  Bytes out;
  for (int b : bytes) out.push_back(static_cast<uint8_t>(b));
  return out;
}

// Sum of bytes [from, to).
inline uint32_t Sum(std::span<const uint8_t> m, size_t from, size_t to) {
  uint32_t s = 0;
  for (size_t i = from; i < to; ++i) s += m[i];
  return s;
}

// True when a 267-byte message carries the checksum of its bytes 8..263.
inline bool BlockSumOk(std::span<const uint8_t> m) {
  const uint32_t s = Sum(m, 8, 264);
  return m.size() == 267 && m[264] == ((s >> 7) & 0x7F) && m[265] == (s & 0x7F) && m[266] == 0xF7;
}

// F0 00 51 21 05 <cmd> 0B <b7> <256 data> <hi> <lo> F7.
inline Bytes BlockMessage(int command, int byte7, std::span<const uint8_t> data) {
  Bytes m = Hex({0xF0, 0x00, 0x51, 0x21, 0x05, command, 0x0B, byte7});
  m.insert(m.end(), data.begin(), data.end());
  const uint32_t s = Sum(m, 8, 264);
  m.push_back(static_cast<uint8_t>((s >> 7) & 0x7F));
  m.push_back(static_cast<uint8_t>(s & 0x7F));
  m.push_back(0xF7);
  return m;
}

// 8-bit data as one MSB-first bit stream, 7 bits per packed byte, padded
// with zero bits; (8n + 7) / 7 bytes.
inline Bytes PackBits(std::span<const uint8_t> in) {
  Bytes out((8 * in.size() + 7) / 7, 0);
  for (size_t bit = 0; bit < 8 * in.size(); ++bit) {
    const int value = (in[bit / 8] >> (7 - bit % 8)) & 1;
    out[bit / 7] |= static_cast<uint8_t>(value << (6 - bit % 7));
  }
  return out;
}

// The reverse: (7g) / 8 bytes.
inline Bytes UnpackBits(std::span<const uint8_t> packed) {
  Bytes out(7 * packed.size() / 8, 0);
  for (size_t bit = 0; bit < 8 * out.size(); ++bit) {
    const int value = (packed[bit / 7] >> (6 - bit % 7)) & 1;
    out[bit / 8] |= static_cast<uint8_t>(value << (7 - bit % 8));
  }
  return out;
}

inline Bytes IdentityRequest() {
  return Hex({0xF0, 0x00, 0x51, 0x21, 0x05, 0x55, 0x0B, 0x0F, 0xF7});
}
inline Bytes RequestSettings(int type) {
  return Hex({0xF0, 0x00, 0x51, 0x21, 0x05, 0x55, 0x0B, type, 0xF7});
}
inline Bytes RequestPreset(int slot) {
  return Hex({0xF0, 0x00, 0x51, 0x21, 0x05, 0x40, 0x0B, slot, 0xF7});
}
inline Bytes SetParameter(int number, int value) {
  return Hex({0xF0, 0x00, 0x51, 0x21, 0x05, 0x50, 0x0B, number, value, 0xF7});
}
inline Bytes ShortReply(int command) {
  return Hex({0xF0, 0x00, 0x51, 0x21, 0x05, command, 0xF7});
}
inline Bytes LoaderReply(int command) {
  return Hex({0xF0, 0x00, 0x51, 0x21, 0x04, command, 0xF7});
}

// IR transfer of 2785 packed bytes under the given commands (0x60/65/66 or
// 0x77/78/79): first chunk with 256, middle chunks with 256, last with the
// rest and the transfer checksum.
inline std::vector<Bytes> IRChunks(int first, int middle, int last, int number,
                                   std::span<const uint8_t> packed) {
  std::vector<Bytes> chunks;
  const size_t total = packed.size();
  Bytes m = Hex({0xF0, 0x00, 0x51, 0x21, 0x05, first, 0x0B, (number >> 7) & 0x7F, number & 0x7F,
                 static_cast<int>(total >> 14) & 0x7F, static_cast<int>(total >> 7) & 0x7F,
                 static_cast<int>(total) & 0x7F});
  m.insert(m.end(), packed.begin(), packed.begin() + 256);
  m.push_back(0xF7);
  chunks.push_back(m);
  size_t pos = 256;
  while (total - pos > 256) {
    m = Hex({0xF0, 0x00, 0x51, 0x21, 0x05, middle, 0x0B});
    m.insert(m.end(), packed.begin() + static_cast<ptrdiff_t>(pos),
             packed.begin() + static_cast<ptrdiff_t>(pos + 256));
    m.push_back(0xF7);
    chunks.push_back(m);
    pos += 256;
  }
  const uint32_t s = Sum(packed, 0, total);
  m = Hex({0xF0, 0x00, 0x51, 0x21, 0x05, last, 0x0B});
  m.insert(m.end(), packed.begin() + static_cast<ptrdiff_t>(pos), packed.end());
  m.push_back(static_cast<uint8_t>((s >> 7) & 0x7F));
  m.push_back(static_cast<uint8_t>(s & 0x7F));
  m.push_back(0xF7);
  chunks.push_back(m);
  return chunks;
}

} // namespace zorel::sim::test
