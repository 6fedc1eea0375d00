#include "protocol/codec/Restore.h"

#include <algorithm>

#include "protocol/codec/Encoding.h"
#include "protocol/codec/Frame.h"
#include "protocol/codec/IrTransfer.h"

namespace zorel {

namespace {

uint32_t SumRange(std::span<const uint8_t> message, size_t first, size_t last) {
  return ByteSum(message.subspan(first, last - first + 1));
}

// Lengths of a last IR chunk: r + 10 bytes with 1 <= r <= 256.
constexpr size_t kIRLastChunkMinLength = 11;
constexpr size_t kIRLastChunkMaxLength = kIRChunkDataSize + 10;

} // namespace

std::optional<std::vector<uint8_t>> RestoreMessage(std::span<const uint8_t> stored,
                                                   RestoreState& state) {
  if (!IsWellFormedSysEx(stored)) return std::nullopt;
  std::vector<uint8_t> out(stored.begin(), stored.end());
  if (!HasPedalHeader(stored, kSysExTargetEditor) || stored.size() <= kOffsetCommand)
    return out; // not ours: byte 5 means something else, so leave it alone
  const size_t n = stored.size();
  switch (stored[kOffsetCommand]) {
  case kCmdPresetDump:
    out[kOffsetCommand] = kCmdRestorePreset;
    break;
  case kCmdIRFirstChunk:
    if (n != kIRFirstChunkLength) return std::nullopt;
    out[kOffsetCommand] = kCmdRestoreIRFirst;
    state.runningSum = SumRange(stored, kIRFirstChunkDataOffset, n - 2);
    break;
  case kCmdIRMiddleChunk:
    if (n != kIRMiddleChunkLength) return std::nullopt;
    out[kOffsetCommand] = kCmdRestoreIRMiddle;
    state.runningSum += SumRange(stored, kIRChunkDataOffset, n - 2);
    break;
  case kCmdIRLastChunk: {
    if (n < kIRLastChunkMinLength || n > kIRLastChunkMaxLength) return std::nullopt;
    out[kOffsetCommand] = kCmdRestoreIRLast;
    state.runningSum += SumRange(stored, kIRChunkDataOffset, n - 4);
    state.runningSum &= 0x3FFF;
    const ChecksumPair sum = ChecksumFromSum(state.runningSum);
    out[n - 3] = sum.high;
    out[n - 2] = sum.low;
    break;
  }
  default:
    break;
  }
  return out;
}

std::vector<std::span<const uint8_t>> SplitStoredMessages(std::span<const uint8_t> buffer) {
  std::vector<std::span<const uint8_t>> messages;
  size_t start = 0;
  for (size_t i = 0; i < buffer.size(); ++i) {
    if (buffer[i] == kSysExEnd) {
      messages.push_back(buffer.subspan(start, i - start + 1));
      start = i + 1;
    }
  }
  return messages;
}

} // namespace zorel
