#include "protocol/codec/IrTransfer.h"

#include <algorithm>

namespace zorel {

std::vector<uint8_t> BuildIRFirstChunk(int irNumber, uint32_t totalPacked,
                                       std::span<const uint8_t> data) {
  std::vector<uint8_t> body;
  body.reserve(5 + data.size());
  const auto number = Encode14(irNumber);
  const auto total = Encode21(totalPacked);
  body.insert(body.end(), number.begin(), number.end());
  body.insert(body.end(), total.begin(), total.end());
  body.insert(body.end(), data.begin(), data.end());
  return BuildEditorMessage(kCmdIRFirstChunk, body);
}

std::vector<uint8_t> BuildIRMiddleChunk(std::span<const uint8_t> data) {
  return BuildEditorMessage(kCmdIRMiddleChunk, data);
}

std::vector<uint8_t> BuildIRLastChunk(std::span<const uint8_t> data, ChecksumPair checksum) {
  std::vector<uint8_t> body(data.begin(), data.end());
  body.push_back(checksum.high);
  body.push_back(checksum.low);
  return BuildEditorMessage(kCmdIRLastChunk, body);
}

IRTransferSender::IRTransferSender(int irNumber, std::span<const uint8_t, kIRBlockSize> block)
    : mIRNumber(irNumber), mPacked(Pack7(block)), mChecksum(TransferChecksum(mPacked)) {}

std::vector<uint8_t> IRTransferSender::NextChunk() {
  if (mDone) return {};
  const std::span<const uint8_t> packed(mPacked);
  if (mPosition == 0) {
    mPosition = kIRChunkDataSize; // the packed block is always longer than one chunk
    return BuildIRFirstChunk(mIRNumber, static_cast<uint32_t>(mPacked.size()),
                             packed.first(kIRChunkDataSize));
  }
  if (Remaining() > kIRChunkDataSize) {
    auto chunk = BuildIRMiddleChunk(packed.subspan(mPosition, kIRChunkDataSize));
    mPosition += kIRChunkDataSize;
    return chunk;
  }
  auto chunk = BuildIRLastChunk(packed.subspan(mPosition), mChecksum);
  mPosition = mPacked.size();
  mDone = true;
  return chunk;
}

std::vector<std::vector<uint8_t>> BuildIRTransfer(int irNumber,
                                                  std::span<const uint8_t, kIRBlockSize> block) {
  IRTransferSender sender(irNumber, block);
  std::vector<std::vector<uint8_t>> chunks;
  while (!sender.Done()) chunks.push_back(sender.NextChunk());
  return chunks;
}

bool IRTransferIntact(uint32_t announcedPacked, size_t packedReceived, uint32_t packedSum,
                      ChecksumPair carried) {
  return announcedPacked == kIRPackedSize && packedReceived == announcedPacked &&
         ChecksumFromSum(packedSum) == carried;
}

IRTransferReceiver::IRTransferReceiver(IRChunkCommands commands, size_t capacity)
    : mCommands(commands), mCapacity(capacity) {}

void IRTransferReceiver::Take(std::span<const uint8_t> packed) {
  mSum += ByteSum(packed);
  mPackedReceived += packed.size();
  mUnpacker.Feed(packed);
}

IRTransferReceiver::Step IRTransferReceiver::Feed(std::span<const uint8_t> message) {
  if (!HasPedalHeader(message, kSysExTargetEditor) || message.size() <= kOffsetCommand)
    return Step::Ignored;
  const uint8_t command = message[kOffsetCommand];
  const size_t n = message.size();
  // Every layout ends in F7, which is not data.
  if (command == mCommands.first) {
    if (n < kIRFirstChunkDataOffset + 1) return Step::Ignored;
    mIRNumber = Decode14(message[7], message[8]);
    mAnnouncedPacked = Decode21(message[9], message[10], message[11]);
    mUnpacker.Reset(UnpackedLength(mAnnouncedPacked), mCapacity);
    mSum = 0;
    mPackedReceived = 0;
    mReceivedChecksum = {};
    mActive = true;
    mCompleted = false;
    Take(message.subspan(kIRFirstChunkDataOffset, n - 1 - kIRFirstChunkDataOffset));
    return Step::Started;
  }
  if (!mActive) return Step::Ignored;
  if (command == mCommands.middle) {
    if (n < kIRChunkDataOffset + 1) return Step::Ignored;
    Take(message.subspan(kIRChunkDataOffset, n - 1 - kIRChunkDataOffset));
    return Step::Continued;
  }
  if (command == mCommands.last) {
    if (n < kIRChunkDataOffset + 3) return Step::Ignored;
    Take(message.subspan(kIRChunkDataOffset, n - 3 - kIRChunkDataOffset));
    mReceivedChecksum = {static_cast<uint8_t>(message[n - 3] & 0x7F),
                         static_cast<uint8_t>(message[n - 2] & 0x7F)};
    mActive = false;
    mCompleted = true;
    return Step::Completed;
  }
  return Step::Ignored;
}

double IRTransferReceiver::Progress() const {
  if (Expected() == 0) return 0.0;
  return static_cast<double>(Produced()) / static_cast<double>(Expected());
}

} // namespace zorel
