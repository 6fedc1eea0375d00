#include "protocol/codec/FirmwareTransfer.h"

#include <algorithm>

namespace zorel {

std::array<uint8_t, kLoaderStartLength> BuildLoaderStart() {
  std::array<uint8_t, kLoaderStartLength> message{};
  WriteFrameHeader(message, kSysExTargetLoader, kCmdLoaderStart);
  message.back() = kSysExEnd;
  return message;
}

std::vector<uint8_t> BuildFirmwareFirstChunk(uint32_t totalPacked, std::span<const uint8_t> data) {
  const auto total = Encode21(totalPacked);
  std::vector<uint8_t> body(total.begin(), total.end());
  body.insert(body.end(), data.begin(), data.end());
  return BuildLoaderMessage(kCmdFirmwareFirstChunk, body);
}

std::vector<uint8_t> BuildFirmwareChunk(std::span<const uint8_t> data) {
  return BuildLoaderMessage(kCmdFirmwareChunk, data);
}

std::vector<uint8_t> BuildFirmwareLastChunk(std::span<const uint8_t> data, ChecksumPair checksum) {
  std::vector<uint8_t> body(data.begin(), data.end());
  body.push_back(checksum.high);
  body.push_back(checksum.low);
  return BuildLoaderMessage(kCmdFirmwareChunk, body);
}

FirmwareTransferSender::FirmwareTransferSender(std::span<const uint8_t> image)
    : mValid(image.size() <= kMaxFirmwareImageSize) {
  if (!mValid) {
    mDone = true;
    return;
  }
  mPacked = Pack7(image);
  mChecksum = TransferChecksum(mPacked);
}

std::vector<uint8_t> FirmwareTransferSender::NextChunk() {
  if (mDone) return {};
  const std::span<const uint8_t> packed(mPacked);
  if (mPosition == 0) {
    const size_t n = std::min(kFirmwareChunkDataSize, mPacked.size());
    mPosition = n;
    return BuildFirmwareFirstChunk(static_cast<uint32_t>(mPacked.size()), packed.first(n));
  }
  if (Remaining() > kFirmwareChunkDataSize) {
    auto chunk = BuildFirmwareChunk(packed.subspan(mPosition, kFirmwareChunkDataSize));
    mPosition += kFirmwareChunkDataSize;
    return chunk;
  }
  auto chunk = BuildFirmwareLastChunk(packed.subspan(mPosition), mChecksum);
  mPosition = mPacked.size();
  mDone = true;
  return chunk;
}

std::vector<std::vector<uint8_t>> BuildFirmwareTransfer(std::span<const uint8_t> image) {
  FirmwareTransferSender sender(image);
  std::vector<std::vector<uint8_t>> chunks;
  while (!sender.Done()) chunks.push_back(sender.NextChunk());
  return chunks;
}

FirmwareTransferReceiver::Step FirmwareTransferReceiver::Feed(std::span<const uint8_t> message) {
  if (!HasPedalHeader(message, kSysExTargetLoader) || message.size() <= kOffsetCommand)
    return Step::Ignored;
  const uint8_t command = message[kOffsetCommand];
  const size_t n = message.size();
  // Never keep more than T bytes, whatever the chunks carry.
  auto take = [this](std::span<const uint8_t> data) {
    const size_t room = mAnnouncedPacked - mPacked.size();
    if (data.size() > room) mOverrun = true;
    const auto kept = data.first(std::min(room, data.size()));
    mPacked.insert(mPacked.end(), kept.begin(), kept.end());
  };
  if (command == kCmdFirmwareFirstChunk) {
    if (n < kFirmwareFirstChunkDataOffset + 1) return Step::Ignored;
    mAnnouncedPacked = Decode21(message[6], message[7], message[8]);
    mPacked.clear();
    mOverrun = false;
    mReceivedChecksum = {};
    mActive = true;
    mCompleted = false;
    take(message.subspan(kFirmwareFirstChunkDataOffset, n - 1 - kFirmwareFirstChunkDataOffset));
    return Step::Started;
  }
  if (command != kCmdFirmwareChunk || !mActive) return Step::Ignored;
  // The sender's rule seen from this side: the chunk that finds at most 240
  // bytes outstanding is the last one and carries the checksum.
  const size_t outstanding = mAnnouncedPacked - mPacked.size();
  if (outstanding > kFirmwareChunkDataSize) {
    if (n < kFirmwareChunkDataOffset + 1) return Step::Ignored;
    take(message.subspan(kFirmwareChunkDataOffset, n - 1 - kFirmwareChunkDataOffset));
    return Step::Continued;
  }
  if (n < kFirmwareChunkDataOffset + 3) return Step::Ignored;
  take(message.subspan(kFirmwareChunkDataOffset, n - 3 - kFirmwareChunkDataOffset));
  mReceivedChecksum = {static_cast<uint8_t>(message[n - 3] & 0x7F),
                       static_cast<uint8_t>(message[n - 2] & 0x7F)};
  mActive = false;
  mCompleted = true;
  return Step::Completed;
}

bool FirmwareTransferReceiver::Ok() const {
  return mCompleted && !mOverrun && mPacked.size() == mAnnouncedPacked &&
         TransferChecksum(mPacked) == mReceivedChecksum;
}

} // namespace zorel
