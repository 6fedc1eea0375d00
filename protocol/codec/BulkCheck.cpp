#include "protocol/codec/BulkCheck.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "protocol/codec/Frame.h"
#include "protocol/codec/IrTransfer.h"
#include "protocol/codec/PresetPayload.h"
#include "protocol/codec/Restore.h"

namespace zorel {

namespace {

const std::string kIncomplete = "This file is not a complete ZorelControl backup: ";
const std::string kNotBackup = "This file is not a ZorelControl backup: ";
const std::string kDamaged = "This backup file is damaged: ";

// A whole IR dump: one first chunk, nine middle chunks, one last chunk
// carrying the remaining 225 packed bytes.
constexpr int kIRMiddleChunks =
    static_cast<int>((kIRPackedSize - kIRChunkDataSize - 1) / kIRChunkDataSize);
constexpr size_t kIRLastChunkData = kIRPackedSize - kIRChunkDataSize * (kIRMiddleChunks + 1);
constexpr size_t kIRLastChunkLength = kIRLastChunkData + 10;
static_assert(kIRMiddleChunks == 9 && kIRLastChunkData == 225);

// F0 00 51 21 05, or as much of it as the file holds.
bool BeginsLikeThePedalsMessages(std::span<const uint8_t> image) {
  static constexpr std::array<uint8_t, 5> kHeader = {kSysExStart, 0x00, 0x51, 0x21,
                                                     kSysExTargetEditor};
  const size_t n = std::min(image.size(), kHeader.size());
  return std::equal(image.begin(), image.begin() + static_cast<ptrdiff_t>(n), kHeader.begin());
}

std::string Hex2(ChecksumPair pair) {
  char text[16];
  std::snprintf(text, sizeof text, "%02X %02X", pair.high, pair.low);
  return text;
}

class BackupWalk {
public:
  BackupWalk(std::span<const uint8_t> image, int patchOffset)
      : mImage(image), mPatchOffset(patchOffset) {
    mUsedBy.fill(-1);
  }

  BulkCheckResult Run();

private:
  // Each returns false when it found the problem that ends the check.
  bool Message(std::span<const uint8_t> m);
  bool PresetDump(std::span<const uint8_t> m);
  bool IRChunk(std::span<const uint8_t> m);
  bool AtEnd(size_t trailing);

  bool Fail(BulkProblem problem, const std::string& userMessage, const std::string& detail);
  bool Foreign(const std::string& detail) {
    return Fail(BulkProblem::kForeignMessage,
                kDamaged + "message " + std::to_string(mIndex + 1) +
                    " is neither a preset nor an IR of the pedal.",
                detail);
  }

  std::string PresetName(int slot) const { return "preset " + std::to_string(slot + mPatchOffset); }
  static std::string IRName(int number) { return "user IR " + std::to_string(number + 1); }
  // What a message (whole or cut off) belongs to, for messages about damage.
  std::string Describe(std::span<const uint8_t> m) const {
    const bool pedal = m.size() > kOffsetBody && HasPedalHeader(m, kSysExTargetEditor);
    if (mInIR) return IRName(mIRNumber);
    if (pedal && m[kOffsetCommand] == kCmdPresetDump && m[kOffsetBody] < kPresetSlotCount)
      return PresetName(m[kOffsetBody]);
    if (pedal && m[kOffsetCommand] == kCmdIRFirstChunk && m.size() > 8 &&
        Decode14(m[7], m[8]) < kUserIRSlotCount)
      return IRName(Decode14(m[7], m[8]));
    return "message " + std::to_string(mIndex + 1);
  }

  std::span<const uint8_t> mImage;
  int mPatchOffset;
  BulkCheckResult mResult;
  size_t mIndex = 0;  // of the message being looked at
  size_t mOffset = 0; // its first byte in the file
  // The IR dump being walked through.
  bool mInIR = false;
  int mIRNumber = 0;
  int mMiddles = 0;
  uint32_t mSum = 0;
  std::array<bool, kUserIRSlotCount> mSeen{};
  std::array<bool, kPresetSlotCount> mPresetSeen{};
  std::array<int, kUserIRSlotCount> mUsedBy{}; // first slot using each user IR, -1 for none
};

bool BackupWalk::Fail(BulkProblem problem, const std::string& userMessage,
                      const std::string& detail) {
  mResult.problem = problem;
  mResult.problemMessage = mIndex;
  mResult.problemOffset = mOffset;
  mResult.userMessage = userMessage;
  mResult.detail = "message " + std::to_string(mIndex + 1) + " at byte " + std::to_string(mOffset) +
                   ": " + detail;
  return false;
}

BulkCheckResult BackupWalk::Run() {
  if (mImage.empty()) {
    Fail(BulkProblem::kEmpty, kNotBackup + "it is empty.", "no bytes");
    return mResult;
  }
  if (!BeginsLikeThePedalsMessages(mImage)) {
    mResult.kind = SniffFileKind(mImage);
    const bool midi = mResult.kind == FileKind::kSysEx || mResult.kind == FileKind::kPedalSysEx;
    const std::string what =
        midi ? "it holds MIDI messages, but not a backup's."
        : mResult.kind == FileKind::kUnknown
            ? "it does not hold the pedal's messages."
            : std::string("it looks like ") + DescribeFileKind(mResult.kind) + ".";
    Fail(BulkProblem::kNotABackup, kNotBackup + what,
         std::string("begins like ") + ToString(mResult.kind));
    return mResult;
  }
  // The same split as the import's, so that what is checked is what is sent.
  const auto messages = SplitStoredMessages(mImage);
  mResult.messageCount = messages.size();
  for (const auto m : messages) {
    if (!Message(m)) return mResult;
    mOffset += m.size();
    ++mIndex;
  }
  AtEnd(mImage.size() - mOffset);
  return mResult;
}

bool BackupWalk::Message(std::span<const uint8_t> m) {
  if (!IsWellFormedSysEx(m)) {
    const bool status = m.front() == kSysExStart;
    return Fail(BulkProblem::kGarbled, kDamaged + Describe(m) + " is garbled.",
                status ? "a byte of 0x80 or above inside" : "does not begin with F0");
  }
  if (!HasPedalHeader(m, kSysExTargetEditor) || m.size() <= kOffsetBody)
    return Foreign("not an editor-protocol message of the pedal");
  const uint8_t command = m[kOffsetCommand];
  if (command == kCmdPresetDump) return PresetDump(m);
  if (command == kCmdIRFirstChunk || command == kCmdIRMiddleChunk || command == kCmdIRLastChunk)
    return IRChunk(m);
  char detail[48];
  std::snprintf(detail, sizeof detail, "command 0x%02X", command);
  return Foreign(detail);
}

bool BackupWalk::PresetDump(std::span<const uint8_t> m) {
  if (mInIR)
    return Fail(BulkProblem::kIRIncomplete, kIncomplete + IRName(mIRNumber) + " is incomplete.",
                "a preset dump after " + std::to_string(mMiddles) + " middle chunks");
  const int slot = m[kOffsetBody];
  if (m.size() != kBlockMessageLength || slot >= kPresetSlotCount)
    return Fail(BulkProblem::kGarbled, kDamaged + Describe(m) + " is garbled.",
                "a preset dump of " + std::to_string(m.size()) + " bytes for slot " +
                    std::to_string(slot));
  if (mPresetSeen[static_cast<size_t>(slot)])
    return Fail(BulkProblem::kPresetTwice, kDamaged + "it holds " + PresetName(slot) + " twice.",
                "slot " + std::to_string(slot) + " again");
  const auto view = ViewBlock(m);
  if (!view->checksumOk)
    return Fail(BulkProblem::kPresetChecksum,
                kDamaged + PresetName(slot) + " does not match its checksum.",
                "block checksum " + Hex2(view->checksum) + ", data gives " +
                    Hex2(BlockChecksum(view->data)));
  for (const auto& [on, number] :
       {std::pair{PayloadUserIR7On(view->data), PayloadUserIR7Number(view->data)},
        std::pair{PayloadUserIR8On(view->data), PayloadUserIR8Number(view->data)}}) {
    if (on && number < kUserIRSlotCount && mUsedBy[static_cast<size_t>(number)] < 0)
      mUsedBy[static_cast<size_t>(number)] = slot;
  }
  mPresetSeen[static_cast<size_t>(slot)] = true;
  ++mResult.presetCount;
  return true;
}

bool BackupWalk::IRChunk(std::span<const uint8_t> m) {
  const uint8_t command = m[kOffsetCommand];
  const size_t n = m.size();
  if (command == kCmdIRFirstChunk) {
    if (mInIR)
      return Fail(BulkProblem::kIRIncomplete, kIncomplete + IRName(mIRNumber) + " is incomplete.",
                  "another IR begins after " + std::to_string(mMiddles) + " middle chunks");
    if (n != kIRFirstChunkLength)
      return Fail(BulkProblem::kGarbled, kDamaged + Describe(m) + " is garbled.",
                  "a first chunk of " + std::to_string(n) + " bytes");
    const int number = Decode14(m[7], m[8]);
    const uint32_t total = Decode21(m[9], m[10], m[11]);
    if (number >= kUserIRSlotCount)
      return Fail(BulkProblem::kIRNotUser,
                  kDamaged + ("it holds an IR for number " + std::to_string(number)) +
                      ", which is not a user IR.",
                  "IR number " + std::to_string(number));
    if (mSeen[static_cast<size_t>(number)])
      return Fail(BulkProblem::kIRTwice, kDamaged + "it holds " + IRName(number) + " twice.",
                  "IR number " + std::to_string(number) + " again");
    if (total != kIRPackedSize)
      return Fail(BulkProblem::kGarbled, kDamaged + IRName(number) + " is garbled.",
                  "announces " + std::to_string(total) + " packed bytes");
    mInIR = true;
    mIRNumber = number;
    mMiddles = 0;
    mSum = ByteSum(m.subspan(kIRFirstChunkDataOffset, kIRChunkDataSize));
    return true;
  }
  if (!mInIR)
    return Fail(BulkProblem::kIRIncomplete,
                kIncomplete + ("message " + std::to_string(mIndex + 1)) +
                    " is part of an IR whose start is missing.",
                "a middle or last chunk without a first chunk");
  if (command == kCmdIRMiddleChunk) {
    if (n != kIRMiddleChunkLength)
      return Fail(BulkProblem::kGarbled, kDamaged + Describe(m) + " is garbled.",
                  "a middle chunk of " + std::to_string(n) + " bytes");
    if (mMiddles == kIRMiddleChunks)
      return Fail(BulkProblem::kGarbled, kDamaged + IRName(mIRNumber) + " is garbled.",
                  "more than " + std::to_string(kIRMiddleChunks) + " middle chunks");
    mSum += ByteSum(m.subspan(kIRChunkDataOffset, kIRChunkDataSize));
    ++mMiddles;
    return true;
  }
  // The last chunk.
  if (mMiddles != kIRMiddleChunks)
    return Fail(BulkProblem::kIRIncomplete, kIncomplete + IRName(mIRNumber) + " is incomplete.",
                "last chunk after " + std::to_string(mMiddles) + " middle chunks");
  if (n != kIRLastChunkLength)
    return Fail(BulkProblem::kGarbled, kDamaged + IRName(mIRNumber) + " is garbled.",
                "a last chunk of " + std::to_string(n) + " bytes");
  mSum += ByteSum(m.subspan(kIRChunkDataOffset, kIRLastChunkData));
  mInIR = false;
  const ChecksumPair carried{m[n - 3], m[n - 2]};
  if (ChecksumFromSum(mSum) != carried)
    return Fail(
        BulkProblem::kIRChecksum, kDamaged + IRName(mIRNumber) + " does not match its checksum.",
        "transfer checksum " + Hex2(carried) + ", data gives " + Hex2(ChecksumFromSum(mSum)));
  mSeen[static_cast<size_t>(mIRNumber)] = true;
  ++mResult.irCount;
  mResult.irNumbers.push_back(mIRNumber);
  return true;
}

bool BackupWalk::AtEnd(size_t trailing) {
  if (trailing > 0) {
    // Bytes after the last F7: a message cut off, or stray bytes after
    // whole messages (which the import would simply never send).
    const auto tail = mImage.subspan(mOffset);
    if (tail.front() == kSysExStart || mInIR) {
      const std::string what = tail.size() > kOffsetBody || mInIR ? Describe(tail) : "a message";
      return Fail(BulkProblem::kEndsEarly, kIncomplete + "it ends in the middle of " + what + ".",
                  std::to_string(trailing) + " bytes without a closing F7");
    }
    return Fail(BulkProblem::kStrayBytes, kDamaged + "it has stray bytes after its last message.",
                std::to_string(trailing) + " bytes after the last message");
  }
  if (mInIR)
    return Fail(BulkProblem::kEndsEarly,
                kIncomplete + "it ends in the middle of " + IRName(mIRNumber) + ".",
                "the file ends after " + std::to_string(mMiddles) + " middle chunks");
  if (mResult.messageCount == 0)
    return Fail(BulkProblem::kEmpty, kNotBackup + "it holds no whole message.", "no messages");
  // A whole backup holds the user IRs its presets play; one without them
  // was cut short after its presets. A file of some presets may leave their
  // IRs to the pedal.
  if (mResult.presetCount < kPresetSlotCount) return true;
  for (int number = 0; number < kUserIRSlotCount; ++number) {
    const int slot = mUsedBy[static_cast<size_t>(number)];
    if (slot >= 0 && !mSeen[static_cast<size_t>(number)])
      return Fail(BulkProblem::kIRMissing,
                  kIncomplete + IRName(number) + ", which " + PresetName(slot) +
                      " uses, is missing.",
                  "no dump of IR number " + std::to_string(number));
  }
  return true;
}

} // namespace

BulkCheckResult CheckBulkImage(std::span<const uint8_t> image, int patchOffset) {
  return BackupWalk(image, patchOffset).Run();
}

const char* ToString(BulkProblem problem) {
  switch (problem) {
  case BulkProblem::kNone:
    return "kNone";
  case BulkProblem::kEmpty:
    return "kEmpty";
  case BulkProblem::kNotABackup:
    return "kNotABackup";
  case BulkProblem::kEndsEarly:
    return "kEndsEarly";
  case BulkProblem::kStrayBytes:
    return "kStrayBytes";
  case BulkProblem::kGarbled:
    return "kGarbled";
  case BulkProblem::kForeignMessage:
    return "kForeignMessage";
  case BulkProblem::kPresetChecksum:
    return "kPresetChecksum";
  case BulkProblem::kPresetTwice:
    return "kPresetTwice";
  case BulkProblem::kIRIncomplete:
    return "kIRIncomplete";
  case BulkProblem::kIRChecksum:
    return "kIRChecksum";
  case BulkProblem::kIRNotUser:
    return "kIRNotUser";
  case BulkProblem::kIRTwice:
    return "kIRTwice";
  case BulkProblem::kIRMissing:
    return "kIRMissing";
  }
  return "?";
}

} // namespace zorel
