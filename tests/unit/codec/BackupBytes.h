#pragma once

// Backups (bulk files) for the tests, built two ways: with the codec's own
// builders, and by hand from the message layouts, bit by bit, so that a
// misreading shared by the builders and the check would show as a
// difference between the two.

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "protocol/codec/IrTransfer.h"
#include "protocol/codec/ParamIds.h"
#include "protocol/codec/PedalMessages.h"
#include "protocol/codec/PresetPayload.h"
#include "tests/unit/codec/TestBytes.h"

namespace zorel::test {

using Bytes = std::vector<uint8_t>;

// Which user IRs the presets use: slot, position (7 or 8), IR number.
struct IRUse {
  int slot;
  int position;
  int number;
};

// The standard test backup: preset 3 uses user IR 0 as IR 7, preset 9 user
// IR 200 as IR 8.
inline const std::vector<IRUse> kStandardUses = {{3, 7, 0}, {9, 8, 200}};

inline PresetPayload TestPayload(int slot, const std::vector<IRUse>& uses) {
  PresetPayload p{};
  p[0] = 0x01;
  for (size_t i = 2; i < 34; ++i) p[i] = static_cast<uint8_t>('A' + (slot + i) % 26);
  for (int i = 0; i < kNumPresetParams; ++i)
    p[PayloadParamOffset(i)] = static_cast<uint8_t>((slot * 7 + i * 3) % 100);
  p[PayloadParamOffset(kParamUserIR7Mode)] = 0;
  p[PayloadParamOffset(kParamUserIR8Mode)] = 0;
  for (const IRUse& use : uses) {
    if (use.slot != slot) continue;
    const bool seven = use.position == 7;
    p[PayloadParamOffset(seven ? kParamUserIR7Mode : kParamUserIR8Mode)] = 1;
    p[PayloadParamOffset(seven ? kParamUserIR7PresetMSB : kParamUserIR8PresetMSB)] =
        static_cast<uint8_t>(use.number >> 7);
    p[PayloadParamOffset(seven ? kParamUserIR7Preset : kParamUserIR8Preset)] =
        static_cast<uint8_t>(use.number & 0x7F);
  }
  return p;
}

inline std::array<uint8_t, kIRBlockSize> TestIRBlock(int number) {
  std::array<uint8_t, kIRBlockSize> block{};
  const Bytes bytes = Pattern(kIRBlockSize, static_cast<uint32_t>(number + 5));
  std::copy(bytes.begin(), bytes.end(), block.begin());
  return block;
}

// Ascending, without repeats: the IRs an export asks for.
inline std::vector<int> UsedIRs(const std::vector<IRUse>& uses) {
  std::vector<int> numbers;
  for (const IRUse& use : uses) numbers.push_back(use.number);
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

// Messages of a backup as the codec builds them.
inline std::vector<Bytes> CodecBackupMessages(const std::vector<IRUse>& uses = kStandardUses) {
  std::vector<Bytes> messages;
  for (int slot = 0; slot < 128; ++slot)
    messages.push_back(Vec(BuildPresetDump(slot, TestPayload(slot, uses))));
  for (int number : UsedIRs(uses))
    for (auto& chunk : BuildIRTransfer(number, TestIRBlock(number))) messages.push_back(chunk);
  return messages;
}

inline Bytes Join(const std::vector<Bytes>& messages) {
  Bytes out;
  for (const Bytes& m : messages) out.insert(out.end(), m.begin(), m.end());
  return out;
}

inline Bytes CodecBackup(const std::vector<IRUse>& uses = kStandardUses) {
  return Join(CodecBackupMessages(uses));
}

// ---- By hand ---------------------------------------------------------------

// F0 00 51 21 05 41 0B slot, 256 payload bytes, sum >> 7 & 7F, sum & 7F, F7.
inline Bytes HandPresetDump(int slot, const PresetPayload& payload) {
  Bytes m = {0xF0, 0x00, 0x51, 0x21, 0x05, 0x41, 0x0B, static_cast<uint8_t>(slot)};
  unsigned sum = 0;
  for (uint8_t b : payload) {
    m.push_back(b);
    sum += b;
  }
  m.push_back(static_cast<uint8_t>((sum >> 7) & 0x7F));
  m.push_back(static_cast<uint8_t>(sum & 0x7F));
  m.push_back(0xF7);
  return m;
}

// The bits of the block, most significant bit of the first byte first, seven
// to a byte, zero bits after the end: (8 n + 7) / 7 bytes.
inline Bytes HandPack(const std::array<uint8_t, kIRBlockSize>& block) {
  std::vector<int> bits;
  for (uint8_t b : block)
    for (int k = 7; k >= 0; --k) bits.push_back((b >> k) & 1);
  const size_t count = (8 * block.size() + 7) / 7;
  bits.resize(count * 7, 0);
  Bytes packed(count, 0);
  for (size_t i = 0; i < count; ++i)
    for (int k = 0; k < 7; ++k)
      packed[i] = static_cast<uint8_t>((packed[i] << 1) | bits[i * 7 + k]);
  return packed;
}

// 0x60 with IR number (2 bytes) and T = 2785 (00 15 61), 256 packed bytes;
// nine 0x65 with 256 each; 0x66 with the last 225 and the plain sum of all
// 2785 packed bytes, high then low.
inline std::vector<Bytes> HandIRDump(int number, const std::array<uint8_t, kIRBlockSize>& block) {
  const Bytes packed = HandPack(block);
  EXPECT_EQ(packed.size(), 2785u);
  std::vector<Bytes> chunks;
  Bytes first = {0xF0,
                 0x00,
                 0x51,
                 0x21,
                 0x05,
                 0x60,
                 0x0B,
                 static_cast<uint8_t>(number >> 7),
                 static_cast<uint8_t>(number & 0x7F),
                 0x00,
                 0x15,
                 0x61};
  first.insert(first.end(), packed.begin(), packed.begin() + 256);
  first.push_back(0xF7);
  chunks.push_back(first);
  for (int k = 1; k <= 9; ++k) {
    Bytes middle = {0xF0, 0x00, 0x51, 0x21, 0x05, 0x65, 0x0B};
    middle.insert(middle.end(), packed.begin() + 256 * k, packed.begin() + 256 * (k + 1));
    middle.push_back(0xF7);
    chunks.push_back(middle);
  }
  unsigned sum = 0;
  for (uint8_t b : packed) sum += b;
  Bytes last = {0xF0, 0x00, 0x51, 0x21, 0x05, 0x66, 0x0B};
  last.insert(last.end(), packed.begin() + 2560, packed.end());
  last.push_back(static_cast<uint8_t>((sum >> 7) & 0x7F));
  last.push_back(static_cast<uint8_t>(sum & 0x7F));
  last.push_back(0xF7);
  chunks.push_back(last);
  return chunks;
}

inline std::vector<Bytes> HandBackupMessages(const std::vector<IRUse>& uses = kStandardUses) {
  std::vector<Bytes> messages;
  for (int slot = 0; slot < 128; ++slot)
    messages.push_back(HandPresetDump(slot, TestPayload(slot, uses)));
  for (int number : UsedIRs(uses))
    for (auto& chunk : HandIRDump(number, TestIRBlock(number))) messages.push_back(chunk);
  return messages;
}

} // namespace zorel::test
