#pragma once

// Firmware transfer to the pedal's loader (target 0x04, no sub-id). The image
// is packed into T bytes and sent as
//   0x10 start:       F0 00 51 21 04 10 F7                                (7)
//   0x13 first chunk: F0 00 51 21 04 13, T (21-bit), packed 0..239, F7    (250)
//   0x20 chunk:       F0 00 51 21 04 20, next 240 packed bytes, F7        (247)
//   0x20 last chunk:  F0 00 51 21 04 20, remaining r (0..240) bytes,
//                     transfer checksum high, low, F7                     (r + 9)
// A chunk is the last one when at most 240 packed bytes remain before it is
// built. An image whose T is 240 or less (210 bytes or fewer) sends all of
// its bytes in the first chunk and then a last chunk with r = 0, so the
// checksum still travels in the one place the loader looks for it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "protocol/codec/Encoding.h"
#include "protocol/codec/Frame.h"
#include "protocol/codec/Packing.h"

namespace zorel {

inline constexpr size_t kFirmwareChunkDataSize = 240;
inline constexpr size_t kLoaderStartLength = 7;
inline constexpr size_t kFirmwareFirstChunkLength = 250;
inline constexpr size_t kFirmwareChunkLength = 247;
inline constexpr size_t kFirmwareFirstChunkDataOffset = 9; // after T
inline constexpr size_t kFirmwareChunkDataOffset = 6;
// The largest image whose packed length still fits the 21-bit T.
inline constexpr size_t kMaxFirmwareImageSize = (7 * static_cast<size_t>(kMax21BitValue)) / 8;
static_assert(PackedLength(kMaxFirmwareImageSize) <= kMax21BitValue);
static_assert(PackedLength(kMaxFirmwareImageSize + 1) > kMax21BitValue);

std::array<uint8_t, kLoaderStartLength> BuildLoaderStart();
// Single chunks; `data` is masked to 7 bits, callers pass at most 240 bytes.
std::vector<uint8_t> BuildFirmwareFirstChunk(uint32_t totalPacked, std::span<const uint8_t> data);
std::vector<uint8_t> BuildFirmwareChunk(std::span<const uint8_t> data);
std::vector<uint8_t> BuildFirmwareLastChunk(std::span<const uint8_t> data, ChecksumPair checksum);

// Sends an image chunk by chunk (the start message is separate: it is sent
// before the loader is ready, the chunks after). Packs the image once.
class FirmwareTransferSender {
public:
  explicit FirmwareTransferSender(std::span<const uint8_t> image);

  // False for an image larger than kMaxFirmwareImageSize: its size cannot be
  // announced, so nothing is ever sent (Done() is then true at once).
  bool Valid() const { return mValid; }
  bool Done() const { return mDone; }
  // The next chunk, or an empty vector once Done().
  std::vector<uint8_t> NextChunk();

  size_t Position() const { return mPosition; }
  size_t Total() const { return mPacked.size(); }
  size_t Remaining() const { return mPacked.size() - mPosition; }
  const std::vector<uint8_t>& Packed() const { return mPacked; }
  ChecksumPair Checksum() const { return mChecksum; }

private:
  std::vector<uint8_t> mPacked;
  ChecksumPair mChecksum;
  size_t mPosition = 0;
  bool mValid = false;
  bool mDone = false;
};

// All chunks of one image (without the start message); empty when the image
// is too large.
std::vector<std::vector<uint8_t>> BuildFirmwareTransfer(std::span<const uint8_t> image);

// The loader's side: collects the chunks and checks length and checksum.
class FirmwareTransferReceiver {
public:
  enum class Step { Ignored, Started, Continued, Completed };

  Step Feed(std::span<const uint8_t> message);

  bool Active() const { return mActive; }
  uint32_t AnnouncedPacked() const { return mAnnouncedPacked; }
  const std::vector<uint8_t>& Packed() const { return mPacked; }
  // True after Completed when exactly T packed bytes came and the checksum
  // carried by the last chunk matches them.
  bool Ok() const;
  ChecksumPair ReceivedChecksum() const { return mReceivedChecksum; }
  // The unpacked image (meaningful after Completed).
  std::vector<uint8_t> Image() const { return Unpack7(mPacked); }

private:
  bool mActive = false;
  bool mCompleted = false; // a last chunk ended the current transfer
  bool mOverrun = false;   // a chunk carried more bytes than T allowed
  uint32_t mAnnouncedPacked = 0;
  std::vector<uint8_t> mPacked;
  ChecksumPair mReceivedChecksum;
};

} // namespace zorel
