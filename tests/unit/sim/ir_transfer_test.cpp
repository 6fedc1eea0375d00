// IR dumps, IR name pages and IR uploads at the byte level.

#include <gtest/gtest.h>

#include <string>

#include "sim/PedalModel.h"
#include "tests/unit/sim/SimTestSupport.h"

namespace zorel::sim::test {
namespace {

Bytes RequestIR(int number) {
  return Hex({0xF0, 0x00, 0x51, 0x21, 0x05, 0x69, 0x0B, (number >> 7) & 0x7F, number & 0x7F, 0xF7});
}

// Reassembles a dump by the table: packed bytes 12..267 of the first chunk,
// 7..262 of each middle one, 7..n-4 of the last.
struct Reassembled {
  Bytes packed;
  int high = -1;
  int low = -1;
};
Reassembled Reassemble(const std::vector<Bytes>& chunks) {
  Reassembled r;
  for (size_t i = 0; i < chunks.size(); ++i) {
    const Bytes& c = chunks[i];
    const size_t from = i == 0 ? 12 : 7;
    const size_t to = i + 1 == chunks.size() ? c.size() - 3 : c.size() - 1;
    r.packed.insert(r.packed.end(), c.begin() + static_cast<ptrdiff_t>(from),
                    c.begin() + static_cast<ptrdiff_t>(to));
  }
  r.high = chunks.back()[chunks.back().size() - 3];
  r.low = chunks.back()[chunks.back().size() - 2];
  return r;
}

TEST(IRDump, ElevenChunksWithTheTransferChecksum) {
  PedalModel pedal;
  const auto chunks = pedal.Receive(RequestIR(0)); // user IR 0 holds a factory user IR
  ASSERT_EQ(chunks.size(), 11u);
  EXPECT_EQ(chunks[0].size(), 269u);
  // F0 00 51 21 05 60 0B, IR number 0, T = 2785 = 00 15 61.
  EXPECT_EQ(Bytes(chunks[0].begin(), chunks[0].begin() + 12),
            Hex({0xF0, 0x00, 0x51, 0x21, 0x05, 0x60, 0x0B, 0x00, 0x00, 0x00, 0x15, 0x61}));
  for (size_t i = 1; i <= 9; ++i) {
    EXPECT_EQ(chunks[i].size(), 264u);
    EXPECT_EQ(chunks[i][5], 0x65);
  }
  EXPECT_EQ(chunks[10].size(), 225u + 10);
  EXPECT_EQ(chunks[10][5], 0x66);
  for (const Bytes& c : chunks) EXPECT_EQ(c.back(), 0xF7);

  const Reassembled r = Reassemble(chunks);
  ASSERT_EQ(r.packed.size(), 2785u);
  const uint32_t s = Sum(r.packed, 0, r.packed.size());
  EXPECT_EQ(r.high, static_cast<int>((s >> 7) & 0x7F));
  EXPECT_EQ(r.low, static_cast<int>(s & 0x7F));
  EXPECT_EQ(r.packed.back(), 0) << "the padding byte";
  const Bytes block = UnpackBits(r.packed);
  ASSERT_EQ(block.size(), 2436u);
  EXPECT_TRUE(std::equal(block.begin(), block.end(), pedal.State().userIRs[0].begin()));
}

TEST(IRDump, FactoryNumbersEmptySlotsAndNumbersWithoutIR) {
  PedalModel pedal;
  // Factory IR 385 = bank 3, index 1.
  const auto factory =
      pedal.Receive(Hex({0xF0, 0x00, 0x51, 0x21, 0x05, 0x69, 0x0B, 0x03, 0x01, 0xF7}));
  ASSERT_EQ(factory.size(), 11u);
  EXPECT_EQ(factory[0][7], 0x03);
  EXPECT_EQ(factory[0][8], 0x01);
  const Bytes block = UnpackBits(Reassemble(factory).packed);
  EXPECT_EQ(std::string(block.begin() + 4, block.begin() + 11), "Lidtop ");

  // An empty user slot still answers, with a blank name, so an export of
  // everything a preset names never waits for an answer that cannot come.
  ASSERT_TRUE(IRBlockIsEmpty(pedal.State().userIRs[255]));
  EXPECT_EQ(pedal.Receive(RequestIR(255)).size(), 11u);

  for (int number : {256, 300, 383, 392}) EXPECT_TRUE(pedal.Receive(RequestIR(number)).empty());
}

TEST(IRNamePages, UserBanksAndTheFactoryBank) {
  PedalModel pedal;
  auto page = [&](int p) {
    auto replies = pedal.Receive(Hex({0xF0, 0x00, 0x51, 0x21, 0x05, 0x6A, 0x0B, p, 0xF7}));
    return replies.size() == 1 ? replies[0] : Bytes{};
  };
  auto name = [](const Bytes& m, int i) {
    return std::string(m.begin() + 8 + 32 * i, m.begin() + 8 + 32 * (i + 1));
  };
  const Bytes p0 = page(0);
  ASSERT_EQ(p0.size(), 267u);
  EXPECT_EQ(Bytes(p0.begin(), p0.begin() + 8), Hex({0xF0, 0x00, 0x51, 0x21, 0x05, 0x6B, 0x0B, 0}));
  EXPECT_TRUE(BlockSumOk(p0));
  for (int i = 0; i < 8; ++i)
    EXPECT_EQ(name(p0, i), IRBlockName(pedal.State().userIRs[static_cast<size_t>(i)]));

  // Page 5 = bank 1, positions 8..15 = user IRs 40..47 (all empty).
  const Bytes p5 = page(5);
  EXPECT_EQ(p5[7], 5);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(name(p5, i), std::string(32, ' '));
  // Page 16 = bank 4, positions 0..7 = user IRs 128..135.
  EXPECT_EQ(name(page(16), 0), IRBlockName(pedal.State().userIRs[128]));

  // Pages 32..35 are the factory bank: the eight factory IRs, then blanks.
  const Bytes p32 = page(32);
  EXPECT_EQ(name(p32, 0).substr(0, 8), "Movrant ");
  EXPECT_EQ(name(p32, 7).substr(0, 9), "Isle V30 ");
  EXPECT_EQ(name(page(33), 0), std::string(32, ' '));
  EXPECT_EQ(page(35).size(), 267u);
  EXPECT_TRUE(page(36).empty());
}

TEST(IRNameReport, FortyTwoBytesWithTheName) {
  PedalModel pedal;
  const auto report = pedal.ReportIRName(384);
  ASSERT_EQ(report.size(), 1u);
  ASSERT_EQ(report[0].size(), 42u);
  EXPECT_EQ(Bytes(report[0].begin(), report[0].begin() + 7),
            Hex({0xF0, 0x00, 0x51, 0x21, 0x05, 0x7B, 0x0B}));
  EXPECT_EQ(std::string(report[0].begin() + 7, report[0].begin() + 39),
            IRBlockName(pedal.State().factoryIRs[0]));
  EXPECT_EQ(report[0][41], 0xF7);
}

class IRUpload : public ::testing::Test {
protected:
  IRUpload() {
    for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<uint8_t>(i * 7 + 3);
    block[0] = 1;
    block[1] = 0;
    packed = PackBits(block);
  }
  std::vector<Bytes> Chunks(int number) { return IRChunks(0x60, 0x65, 0x66, number, packed); }
  Bytes block = Bytes(2436);
  Bytes packed;
  PedalModel pedal;
};

TEST_F(IRUpload, ReadyAfterTheFirstChunkStoredAfterTheLast) {
  const auto chunks = Chunks(200);
  ASSERT_EQ(chunks.size(), 11u);
  EXPECT_EQ(pedal.Receive(chunks[0]), std::vector<Bytes>{ShortReply(0x63)});
  for (size_t i = 1; i < 10; ++i) EXPECT_TRUE(pedal.Receive(chunks[i]).empty()) << i;
  EXPECT_EQ(pedal.Receive(chunks[10]), std::vector<Bytes>{ShortReply(0x61)});
  EXPECT_TRUE(std::equal(block.begin(), block.end(), pedal.State().userIRs[200].begin()));
  // And the pedal dumps exactly what it received.
  EXPECT_EQ(Reassemble(pedal.Receive(RequestIR(200))).packed, packed);
}

TEST_F(IRUpload, FactoryNumbersCanBeReplaced) {
  for (const Bytes& c : Chunks(391)) pedal.Receive(c);
  EXPECT_TRUE(std::equal(block.begin(), block.end(), pedal.State().factoryIRs[7].begin()));
}

TEST_F(IRUpload, WrongTransferChecksumIsAnError) {
  auto chunks = Chunks(7);
  chunks[10][chunks[10].size() - 2] ^= 0x01;
  const IRBlock before = pedal.State().userIRs[7];
  for (size_t i = 0; i < 10; ++i) pedal.Receive(chunks[i]);
  EXPECT_EQ(pedal.Receive(chunks[10]), std::vector<Bytes>{ShortReply(0x62)});
  EXPECT_EQ(pedal.State().userIRs[7], before);
}

TEST_F(IRUpload, MissingOrCutChunkIsAnError) {
  auto chunks = Chunks(7);
  for (size_t i = 0; i < 11; ++i)
    if (i != 4) pedal.Receive(chunks[i]);
  EXPECT_FALSE(pedal.Changed());

  // A cut middle chunk has the wrong length and is not taken as one.
  pedal.Receive(chunks[0]);
  Bytes cut(chunks[1].begin(), chunks[1].begin() + 100);
  cut.push_back(0xF7);
  EXPECT_TRUE(pedal.Receive(cut).empty());
  for (size_t i = 2; i < 10; ++i) pedal.Receive(chunks[i]);
  EXPECT_EQ(pedal.Receive(chunks[10]), std::vector<Bytes>{ShortReply(0x62)});
}

TEST_F(IRUpload, RefusedTargetsAndStrayLastChunk) {
  EXPECT_EQ(pedal.Receive(Chunks(300)[0]), std::vector<Bytes>{ShortReply(0x62)});
  auto chunks = Chunks(7);
  EXPECT_EQ(pedal.Receive(chunks[10]), std::vector<Bytes>{ShortReply(0x62)}) << "no first chunk";
  chunks[0][11] = 0x60; // T = 2784
  EXPECT_EQ(pedal.Receive(chunks[0]), std::vector<Bytes>{ShortReply(0x62)});
}

TEST_F(IRUpload, UploadRenamesTheIRInTheEditBuffer) {
  block[4] = 'N';
  packed = PackBits(block);
  // Program 0 plays user IR 0 as IR 7.
  ASSERT_EQ(pedal.State().editBuffer[34 + 40], 1);
  for (const Bytes& c : Chunks(0)) pedal.Receive(c);
  EXPECT_EQ(pedal.State().editBuffer[192], 'N');
}

} // namespace
} // namespace zorel::sim::test
