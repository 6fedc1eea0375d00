#include "protocol/codec/Frame.h"

#include <algorithm>

namespace zorel {

void WriteFrameHeader(std::span<uint8_t> out, uint8_t target, uint8_t command) {
  out[0] = kSysExStart;
  std::copy(kManufacturerId.begin(), kManufacturerId.end(), out.begin() + 1);
  out[kOffsetTarget] = target;
  out[kOffsetCommand] = command;
}

namespace {

std::vector<uint8_t> BuildFrame(uint8_t target, uint8_t command, bool withSubId,
                                std::span<const uint8_t> body) {
  const size_t header = withSubId ? kEditorHeaderLength : kLoaderHeaderLength;
  std::vector<uint8_t> message(header + body.size() + 1);
  WriteFrameHeader(message, target, command);
  if (withSubId) message[kOffsetSubId] = kSysExSubId;
  std::transform(body.begin(), body.end(), message.begin() + static_cast<ptrdiff_t>(header),
                 [](uint8_t b) { return static_cast<uint8_t>(b & 0x7F); });
  message.back() = kSysExEnd;
  return message;
}

} // namespace

std::vector<uint8_t> BuildEditorMessage(uint8_t command, std::span<const uint8_t> body) {
  return BuildFrame(kSysExTargetEditor, command, true, body);
}

std::vector<uint8_t> BuildLoaderMessage(uint8_t command, std::span<const uint8_t> body) {
  return BuildFrame(kSysExTargetLoader, command, false, body);
}

bool HasPedalHeader(std::span<const uint8_t> message, uint8_t target) {
  return message.size() > kOffsetTarget && message[1] == kManufacturerId[0] &&
         message[2] == kManufacturerId[1] && message[3] == kManufacturerId[2] &&
         message[kOffsetTarget] == target;
}

std::optional<uint8_t> CommandOf(std::span<const uint8_t> message) {
  if (message.size() <= kOffsetCommand) return std::nullopt;
  return message[kOffsetCommand];
}

BlockMessage BuildBlockMessage(uint8_t command, uint8_t byte6, uint8_t byte7,
                               std::span<const uint8_t, kBlockDataSize> data) {
  BlockMessage message{};
  WriteFrameHeader(message, kSysExTargetEditor, command);
  message[kOffsetSubId] = static_cast<uint8_t>(byte6 & 0x7F);
  message[kOffsetBody] = static_cast<uint8_t>(byte7 & 0x7F);
  std::transform(data.begin(), data.end(), message.begin() + kBlockDataOffset,
                 [](uint8_t b) { return static_cast<uint8_t>(b & 0x7F); });
  const ChecksumPair sum =
      BlockChecksum(std::span<const uint8_t>(message).subspan(kBlockDataOffset, kBlockDataSize));
  message[kBlockChecksumOffset] = sum.high;
  message[kBlockChecksumOffset + 1] = sum.low;
  message[kBlockMessageLength - 1] = kSysExEnd;
  return message;
}

std::optional<BlockView> ViewBlock(std::span<const uint8_t> message) {
  if (message.size() != kBlockMessageLength || !HasPedalHeader(message, kSysExTargetEditor))
    return std::nullopt;
  BlockView view{.command = message[kOffsetCommand],
                 .byte6 = message[kOffsetSubId],
                 .byte7 = message[kOffsetBody],
                 .data = message.subspan<kBlockDataOffset, kBlockDataSize>(),
                 .checksum = {message[kBlockChecksumOffset], message[kBlockChecksumOffset + 1]},
                 .checksumOk = false};
  view.checksumOk = BlockChecksum(view.data) == view.checksum;
  return view;
}

bool BlockChecksumOk(std::span<const uint8_t> message) {
  if (message.size() != kBlockMessageLength) return false;
  const ChecksumPair carried{message[kBlockChecksumOffset], message[kBlockChecksumOffset + 1]};
  return BlockChecksum(message.subspan(kBlockDataOffset, kBlockDataSize)) == carried;
}

bool IsWellFormedSysEx(std::span<const uint8_t> message) {
  if (message.size() < 2 || message.front() != kSysExStart || message.back() != kSysExEnd)
    return false;
  return std::all_of(message.begin() + 1, message.end() - 1, [](uint8_t b) { return b < 0x80; });
}

} // namespace zorel
