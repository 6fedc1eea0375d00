#pragma once

// Chunked IR transfers, in both directions (the editor's upload and the
// pedal's dump use the same three layouts). One transfer is always one IR
// block of 2436 bytes, packed into 2785 bytes and sent as
//   0x60 first:  F0 00 51 21 05 60 0B, IR number (14-bit), T (21-bit),
//                256 packed bytes, F7                              (269 bytes)
//   0x65 middle: F0 00 51 21 05 65 0B, 256 packed bytes, F7        (264 bytes)
//   0x66 last:   F0 00 51 21 05 66 0B, r packed bytes (1..256),
//                transfer checksum high, low, F7                   (r + 10 bytes)
// For T = 2785: one 0x60, nine 0x65, one 0x66 with r = 225.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "formats/DataFormats.h"
#include "protocol/codec/Encoding.h"
#include "protocol/codec/Frame.h"
#include "protocol/codec/Packing.h"

namespace zorel {

inline constexpr size_t kIRPackedSize = PackedLength(kIRBlockSize); // 2785
inline constexpr size_t kIRChunkDataSize = 256;
inline constexpr size_t kIRFirstChunkLength = 269;
inline constexpr size_t kIRMiddleChunkLength = 264;
inline constexpr size_t kIRFirstChunkDataOffset = 12; // after IR number and T
inline constexpr size_t kIRChunkDataOffset = 7;       // middle and last chunks
// The receiving buffer of a dump: room for more than one block, so a dump
// that announces a little more than a block still fits; the rest is dropped.
inline constexpr size_t kIRDumpCapacity = 4096;

// Numbers 0..255 are user IRs, 384..391 the factory IRs (bank 3).
inline constexpr int kFactoryIRFirstNumber = 384;

// The three command bytes of one kind of IR transfer. A restore of a stored
// dump (bulk import) sends the same layouts under 0x77, 0x78, 0x79.
struct IRChunkCommands {
  uint8_t first;
  uint8_t middle;
  uint8_t last;
};
inline constexpr IRChunkCommands kIRTransferCommands = {kCmdIRFirstChunk, kCmdIRMiddleChunk,
                                                        kCmdIRLastChunk};
inline constexpr IRChunkCommands kIRRestoreCommands = {kCmdRestoreIRFirst, kCmdRestoreIRMiddle,
                                                       kCmdRestoreIRLast};

// Single chunks. `data` is copied as given (masked to 7 bits); callers pass
// at most kIRChunkDataSize bytes.
std::vector<uint8_t> BuildIRFirstChunk(int irNumber, uint32_t totalPacked,
                                       std::span<const uint8_t> data);
std::vector<uint8_t> BuildIRMiddleChunk(std::span<const uint8_t> data);
std::vector<uint8_t> BuildIRLastChunk(std::span<const uint8_t> data, ChecksumPair checksum);

// Sends one IR block chunk by chunk: packs it once, then each NextChunk()
// returns the next message (first, middles, last) until Done(). The pacing,
// which reply lets the next chunk go, is the caller's.
class IRTransferSender {
public:
  IRTransferSender(int irNumber, std::span<const uint8_t, kIRBlockSize> block);

  bool Done() const { return mDone; }
  // The next message, or an empty vector once Done().
  std::vector<uint8_t> NextChunk();

  int IRNumber() const { return mIRNumber; }
  size_t Position() const { return mPosition; } // packed bytes sent so far
  size_t Total() const { return mPacked.size(); }
  size_t Remaining() const { return mPacked.size() - mPosition; }
  const std::vector<uint8_t>& Packed() const { return mPacked; }
  ChecksumPair Checksum() const { return mChecksum; }

private:
  int mIRNumber;
  std::vector<uint8_t> mPacked;
  ChecksumPair mChecksum;
  size_t mPosition = 0;
  bool mDone = false;
};

// True when an IR transfer came whole and unchanged: it announced one IR
// block (2785 packed bytes), exactly that many arrived, and the transfer
// checksum carried by the last chunk matches their sum. Only such a
// transfer may be stored: a short or damaged block would pass for the IR.
bool IRTransferIntact(uint32_t announcedPacked, size_t packedReceived, uint32_t packedSum,
                      ChecksumPair carried);

// All messages of one IR transfer, in order.
std::vector<std::vector<uint8_t>> BuildIRTransfer(int irNumber,
                                                  std::span<const uint8_t, kIRBlockSize> block);

// Reassembles an IR transfer from its chunks, unpacking as they arrive.
// Middle and last chunks that come without a first chunk are ignored: data
// without the number and size of its IR cannot be stored anywhere right.
// Byte 6 is not checked (the pedal's dump is not required to carry it).
class IRTransferReceiver {
public:
  enum class Step {
    Ignored,   // not a chunk of this transfer kind, too short, or out of order
    Started,   // a first chunk began a new transfer (any running one is dropped)
    Continued, // a middle chunk
    Completed, // the last chunk: Bytes() holds the result
  };

  explicit IRTransferReceiver(IRChunkCommands commands = kIRTransferCommands,
                              size_t capacity = kIRDumpCapacity);

  Step Feed(std::span<const uint8_t> message);

  bool Active() const { return mActive; } // between a first and a last chunk
  int IRNumber() const { return mIRNumber; }
  uint32_t AnnouncedPacked() const { return mAnnouncedPacked; } // T of the first chunk
  size_t PackedReceived() const { return mPackedReceived; }
  const std::vector<uint8_t>& Bytes() const { return mUnpacker.Output(); }
  size_t Produced() const { return mUnpacker.Produced(); }
  size_t Expected() const { return mUnpacker.Expected(); }
  // Produced / Expected, 0 when nothing is expected.
  double Progress() const;
  // Checksum of the packed bytes received, and the one the last chunk carried.
  ChecksumPair ComputedChecksum() const { return ChecksumFromSum(mSum); }
  ChecksumPair ReceivedChecksum() const { return mReceivedChecksum; }
  bool ChecksumOk() const { return ComputedChecksum() == mReceivedChecksum; }
  // After Completed: the transfer was one whole IR block, checksum right.
  bool Intact() const {
    return mCompleted &&
           IRTransferIntact(mAnnouncedPacked, mPackedReceived, mSum, mReceivedChecksum);
  }

private:
  void Take(std::span<const uint8_t> packed);

  IRChunkCommands mCommands;
  size_t mCapacity;
  StreamUnpacker mUnpacker;
  bool mActive = false;
  bool mCompleted = false; // a last chunk ended the current transfer
  int mIRNumber = 0;
  uint32_t mAnnouncedPacked = 0;
  size_t mPackedReceived = 0;
  uint32_t mSum = 0;
  ChecksumPair mReceivedChecksum;
};

} // namespace zorel
