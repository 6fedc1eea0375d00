// Chunked IR and firmware transfers: framing, sizes, checksums, reassembly.

#include <gtest/gtest.h>

#include <numeric>

#include "protocol/codec/Classify.h"
#include "protocol/codec/FirmwareTransfer.h"
#include "protocol/codec/IrTransfer.h"
#include "tests/unit/codec/TestBytes.h"

namespace zorel {
namespace {

using test::Hex;
using test::Pattern;
using test::Vec;

std::array<uint8_t, kIRBlockSize> SampleBlock() {
  std::array<uint8_t, kIRBlockSize> block{};
  const auto bytes = Pattern(kIRBlockSize, 3);
  std::copy(bytes.begin(), bytes.end(), block.begin());
  return block;
}

TEST(IRTransfer, OneFirstNineMiddleOneLast) {
  const auto block = SampleBlock();
  const auto chunks = BuildIRTransfer(200, block);
  ASSERT_EQ(chunks.size(), 11u);
  EXPECT_EQ(chunks[0].size(), 269u);
  for (size_t i = 1; i < 10; ++i) EXPECT_EQ(chunks[i].size(), 264u);
  EXPECT_EQ(chunks[10].size(), 235u); // r = 225
  // IR number 200 and T = 2785 in the first chunk's header.
  EXPECT_EQ(Vec(std::span(chunks[0]).first(12)), Hex("F0 00 51 21 05 60 0B 01 48 00 15 61"));
  EXPECT_EQ(Vec(std::span(chunks[1]).first(7)), Hex("F0 00 51 21 05 65 0B"));
  EXPECT_EQ(Vec(std::span(chunks[10]).first(7)), Hex("F0 00 51 21 05 66 0B"));

  // The data fields concatenate to the packed block; the checksum follows it.
  std::vector<uint8_t> data(chunks[0].begin() + 12, chunks[0].end() - 1);
  for (size_t i = 1; i < 10; ++i)
    data.insert(data.end(), chunks[i].begin() + 7, chunks[i].end() - 1);
  data.insert(data.end(), chunks[10].begin() + 7, chunks[10].end() - 3);
  const auto packed = Pack7(block);
  EXPECT_EQ(data, packed);
  const ChecksumPair sum = TransferChecksum(packed);
  EXPECT_EQ(chunks[10][232], sum.high);
  EXPECT_EQ(chunks[10][233], sum.low);
  for (const auto& c : chunks) EXPECT_TRUE(IsWellFormedSysEx(c));
  EXPECT_EQ(ClassifyEditorMessage(chunks[0]), EditorKind::IRUploadFirst);
  EXPECT_EQ(ClassifyEditorMessage(chunks[5]), EditorKind::IRUploadMiddle);
  EXPECT_EQ(ClassifyEditorMessage(chunks[10]), EditorKind::IRUploadLast);
}

TEST(IRTransfer, ReceiverReassemblesTheBlock) {
  const auto block = SampleBlock();
  const auto chunks = BuildIRTransfer(385, block);
  IRTransferReceiver rx;
  EXPECT_EQ(rx.Feed(chunks[0]), IRTransferReceiver::Step::Started);
  EXPECT_EQ(rx.IRNumber(), 385);
  EXPECT_EQ(rx.Expected(), kIRBlockSize);
  EXPECT_EQ(rx.Produced(), UnpackedLength(256));
  for (size_t i = 1; i < 10; ++i)
    EXPECT_EQ(rx.Feed(chunks[i]), IRTransferReceiver::Step::Continued);
  EXPECT_EQ(rx.Feed(chunks[10]), IRTransferReceiver::Step::Completed);
  EXPECT_EQ(Vec(rx.Bytes()), Vec(block));
  EXPECT_TRUE(rx.ChecksumOk());
  EXPECT_DOUBLE_EQ(rx.Progress(), 1.0);
}

TEST(IRTransfer, ReceiverFlagsDamageAndIgnoresChunksWithoutAStart) {
  const auto chunks = BuildIRTransfer(3, SampleBlock());
  IRTransferReceiver rx;
  // A dump whose first chunk was missed is not stitched onto anything.
  EXPECT_EQ(rx.Feed(chunks[1]), IRTransferReceiver::Step::Ignored);
  EXPECT_EQ(rx.Feed(chunks[10]), IRTransferReceiver::Step::Ignored);

  auto bad = chunks;
  bad[4][100] ^= 0x01;
  for (const auto& c : bad) rx.Feed(c);
  EXPECT_FALSE(rx.ChecksumOk());

  // A first chunk announcing far more than a block cannot grow the buffer.
  auto huge = chunks[0];
  huge[9] = 0x7F;
  IRTransferReceiver small(kIRTransferCommands, 4096);
  small.Feed(huge);
  for (int round = 0; round < 30; ++round) small.Feed(chunks[1]);
  EXPECT_EQ(small.Bytes().size(), 4096u);
}

TEST(IRTransfer, OnlyAWholeUndamagedDumpIsIntact) {
  const auto chunks = BuildIRTransfer(9, SampleBlock());
  auto feed = [](const std::vector<std::vector<uint8_t>>& messages) {
    IRTransferReceiver rx;
    for (const auto& m : messages) rx.Feed(m);
    return rx.Intact();
  };
  auto without = [&](size_t index) {
    auto copy = chunks;
    copy.erase(copy.begin() + static_cast<ptrdiff_t>(index));
    return copy;
  };
  auto flipped = chunks;
  flipped[6][40] ^= 0x10;
  auto cut = chunks;
  cut[10].erase(cut[10].begin() + 20, cut[10].begin() + 40); // 20 packed bytes fewer
  auto small = chunks;
  small[0][11] -= 1; // announces 2784 packed bytes
  EXPECT_TRUE(feed(chunks));
  EXPECT_FALSE(feed(without(4))) << "a middle chunk dropped";
  EXPECT_FALSE(feed(without(10))) << "no last chunk";
  EXPECT_FALSE(feed(flipped)) << "a flipped bit";
  EXPECT_FALSE(feed(cut)) << "a short last chunk";
  EXPECT_FALSE(feed(small)) << "not one IR block";

  // The pure check on its own, as a receiver of the editor's keeps its sums.
  const auto packed = Pack7(SampleBlock());
  const uint32_t sum = ByteSum(packed);
  const ChecksumPair carried = TransferChecksum(packed);
  EXPECT_TRUE(IRTransferIntact(2785, 2785, sum, carried));
  EXPECT_FALSE(IRTransferIntact(2785, 2784, sum, carried));
  EXPECT_FALSE(IRTransferIntact(2785, 2785, sum + 1, carried));
  EXPECT_TRUE(IRTransferIntact(2785, 2785, sum + 16384, carried)) << "only 14 bits travel";
}

TEST(IRTransfer, RestoreCommandsUseTheSameLayouts) {
  auto chunks = BuildIRTransfer(7, SampleBlock());
  chunks[0][5] = kCmdRestoreIRFirst;
  for (size_t i = 1; i < 10; ++i) chunks[i][5] = kCmdRestoreIRMiddle;
  chunks[10][5] = kCmdRestoreIRLast;
  IRTransferReceiver plain;
  EXPECT_EQ(plain.Feed(chunks[0]), IRTransferReceiver::Step::Ignored);
  IRTransferReceiver restore(kIRRestoreCommands);
  for (const auto& c : chunks) restore.Feed(c);
  EXPECT_EQ(Vec(restore.Bytes()), Vec(SampleBlock()));
  EXPECT_EQ(ClassifyEditorMessage(chunks[0]), EditorKind::RestoreIRFirst);
}

std::vector<size_t> Sizes(const std::vector<std::vector<uint8_t>>& chunks) {
  std::vector<size_t> sizes;
  for (const auto& c : chunks) sizes.push_back(c.size());
  return sizes;
}

TEST(FirmwareTransfer, ChunkSizesForQuotedImageLengths) {
  EXPECT_EQ(Vec(BuildLoaderStart()), Hex("F0 00 51 21 04 10 F7"));
  const auto image = Pattern(1000, 9);
  const auto chunks = BuildFirmwareTransfer(image);
  EXPECT_EQ(Sizes(chunks), (std::vector<size_t>{250, 247, 247, 247, 192}));
  EXPECT_EQ(Vec(std::span(chunks[0]).first(9)), Hex("F0 00 51 21 04 13 00 08 77")); // T = 1143
  EXPECT_EQ(Vec(std::span(chunks[1]).first(6)), Hex("F0 00 51 21 04 20"));
  const ChecksumPair sum = TransferChecksum(Pack7(image));
  EXPECT_EQ(chunks[4][189], sum.high);
  EXPECT_EQ(chunks[4][190], sum.low);
  EXPECT_EQ(Sizes(BuildFirmwareTransfer(Pattern(210))), (std::vector<size_t>{250, 10}));
  // T of 240 or less (209 bytes -> 239): all of it in the first chunk, then
  // a last chunk that carries only the checksum.
  EXPECT_EQ(Sizes(BuildFirmwareTransfer(Pattern(209))), (std::vector<size_t>{249, 9}));
  EXPECT_EQ(Sizes(BuildFirmwareTransfer(Pattern(100))), (std::vector<size_t>{125, 9}));
}

TEST(FirmwareTransfer, SenderProgressAndReceiverCheck) {
  const auto image = Pattern(1000, 4);
  FirmwareTransferSender tx(image);
  FirmwareTransferReceiver rx;
  EXPECT_EQ(rx.Feed(tx.NextChunk()), FirmwareTransferReceiver::Step::Started);
  EXPECT_EQ(tx.Position(), 240u); // 240 / 1143 = 20 %
  EXPECT_EQ(tx.Remaining(), 903u);
  while (!tx.Done()) rx.Feed(tx.NextChunk());
  EXPECT_TRUE(tx.NextChunk().empty());
  EXPECT_TRUE(rx.Ok());
  EXPECT_EQ(rx.Image(), image);

  for (size_t n : {size_t{0}, size_t{100}, size_t{209}, size_t{210}}) {
    FirmwareTransferReceiver each;
    for (const auto& c : BuildFirmwareTransfer(Pattern(n))) each.Feed(c);
    EXPECT_TRUE(each.Ok()) << n;
    EXPECT_EQ(each.Image(), Pattern(n));
  }

  auto chunks = BuildFirmwareTransfer(image);
  chunks[2][50] ^= 0x01;
  FirmwareTransferReceiver damaged;
  for (const auto& c : chunks) damaged.Feed(c);
  EXPECT_FALSE(damaged.Ok());
  FirmwareTransferReceiver fresh;
  EXPECT_FALSE(fresh.Ok());
}

TEST(FirmwareTransfer, ImagesTooLargeToAnnounceAreRefused) {
  const std::vector<uint8_t> big(kMaxFirmwareImageSize + 1);
  FirmwareTransferSender tx(big);
  EXPECT_FALSE(tx.Valid());
  EXPECT_TRUE(tx.Done());
  EXPECT_TRUE(BuildFirmwareTransfer(big).empty());
}

} // namespace
} // namespace zorel
