// The firmware loader's verdicts, with the chunks built by the table.

#include <gtest/gtest.h>

#include "sim/PedalModel.h"
#include "tests/unit/sim/SimTestSupport.h"

namespace zorel::sim::test {
namespace {

const Bytes kStart = Hex({0xF0, 0x00, 0x51, 0x21, 0x04, 0x10, 0xF7});

// 0x13 with T and the first 240 packed bytes; 0x20 with 240 while more than
// 240 remain; the last 0x20 with the rest and the transfer checksum.
std::vector<Bytes> FirmwareChunks(std::span<const uint8_t> packed) {
  std::vector<Bytes> chunks;
  const size_t t = packed.size();
  const size_t firstCount = std::min<size_t>(240, t);
  Bytes m = Hex({0xF0, 0x00, 0x51, 0x21, 0x04, 0x13, static_cast<int>(t >> 14) & 0x7F,
                 static_cast<int>(t >> 7) & 0x7F, static_cast<int>(t) & 0x7F});
  m.insert(m.end(), packed.begin(), packed.begin() + static_cast<ptrdiff_t>(firstCount));
  m.push_back(0xF7);
  chunks.push_back(m);
  size_t pos = firstCount;
  while (t - pos > 240) {
    m = Hex({0xF0, 0x00, 0x51, 0x21, 0x04, 0x20});
    m.insert(m.end(), packed.begin() + static_cast<ptrdiff_t>(pos),
             packed.begin() + static_cast<ptrdiff_t>(pos + 240));
    m.push_back(0xF7);
    chunks.push_back(m);
    pos += 240;
  }
  const uint32_t s = Sum(packed, 0, t);
  m = Hex({0xF0, 0x00, 0x51, 0x21, 0x04, 0x20});
  m.insert(m.end(), packed.begin() + static_cast<ptrdiff_t>(pos), packed.end());
  m.push_back(static_cast<uint8_t>((s >> 7) & 0x7F));
  m.push_back(static_cast<uint8_t>(s & 0x7F));
  m.push_back(0xF7);
  chunks.push_back(m);
  return chunks;
}

Bytes Image(size_t n) {
  Bytes image(n);
  for (size_t i = 0; i < n; ++i) image[i] = static_cast<uint8_t>((i * 131 + 17) >> 1);
  return image;
}

TEST(FirmwareLoader, ThousandByteImageIsAcceptedAndKept) {
  PedalModel pedal;
  EXPECT_EQ(pedal.Receive(kStart), std::vector<Bytes>{LoaderReply(0x12)});
  const Bytes image = Image(1000);
  const auto chunks = FirmwareChunks(PackBits(image));
  ASSERT_EQ(chunks.size(), 5u);
  const std::vector<size_t> sizes = {250, 247, 247, 247, 192};
  for (size_t i = 0; i < chunks.size(); ++i) EXPECT_EQ(chunks[i].size(), sizes[i]);
  for (size_t i = 0; i + 1 < chunks.size(); ++i) EXPECT_TRUE(pedal.Receive(chunks[i]).empty());
  EXPECT_EQ(pedal.Receive(chunks.back()), std::vector<Bytes>{LoaderReply(0x14)});
  EXPECT_EQ(pedal.ReceivedFirmware(), image);
  EXPECT_EQ(pedal.FirmwareUpdates(), 1);
  EXPECT_FALSE(pedal.LoaderActive());
}

TEST(FirmwareLoader, BoundarySizes) {
  // 6 bytes: T = 7, all in the first chunk, then a last chunk with only the
  // checksum. 210: T = 241, one byte in the last chunk. 413: T = 473.
  // 419: T = 479. 420: T = 481 (two full chunks and one byte).
  for (size_t n : {6u, 210u, 413u, 419u, 420u, 5000u}) {
    PedalModel pedal;
    pedal.Receive(kStart);
    const Bytes image = Image(n);
    const auto chunks = FirmwareChunks(PackBits(image));
    std::vector<Bytes> last;
    for (const Bytes& c : chunks) last = pedal.Receive(c);
    EXPECT_EQ(last, std::vector<Bytes>{LoaderReply(0x14)}) << n;
    EXPECT_EQ(pedal.ReceivedFirmware(), image) << n;
  }
}

TEST(FirmwareLoader, WrongChecksumFails) {
  PedalModel pedal;
  pedal.Receive(kStart);
  auto chunks = FirmwareChunks(PackBits(Image(1000)));
  chunks[2][50] ^= 0x01; // a data byte changed on the way
  std::vector<Bytes> last;
  for (const Bytes& c : chunks) last = pedal.Receive(c);
  EXPECT_EQ(last, std::vector<Bytes>{LoaderReply(0x15)});
  EXPECT_TRUE(pedal.ReceivedFirmware().empty());
  EXPECT_EQ(pedal.FirmwareUpdates(), 0);
}

TEST(FirmwareLoader, LostOrCutChunkFails) {
  PedalModel pedal;
  pedal.Receive(kStart);
  auto chunks = FirmwareChunks(PackBits(Image(1000)));
  pedal.Receive(chunks[0]);
  pedal.Receive(chunks[1]);
  // Chunk 2 lost: chunk 3 still fits, but the last one arrives too early.
  EXPECT_TRUE(pedal.Receive(chunks[3]).empty());
  EXPECT_EQ(pedal.Receive(chunks[4]), std::vector<Bytes>{LoaderReply(0x15)});

  pedal.Receive(kStart);
  pedal.Receive(chunks[0]);
  Bytes cut(chunks[1].begin(), chunks[1].begin() + 120);
  cut.push_back(0xF7);
  EXPECT_EQ(pedal.Receive(cut), std::vector<Bytes>{LoaderReply(0x15)});
}

TEST(FirmwareLoader, ChunksWithoutStartAreIgnored) {
  PedalModel pedal;
  for (const Bytes& c : FirmwareChunks(PackBits(Image(1000))))
    EXPECT_TRUE(pedal.Receive(c).empty());
  // After a verdict the loader wants a new start as well.
  pedal.Receive(kStart);
  const auto chunks = FirmwareChunks(PackBits(Image(300)));
  for (const Bytes& c : chunks) pedal.Receive(c);
  EXPECT_TRUE(pedal.Receive(chunks[0]).empty());
  EXPECT_EQ(pedal.FirmwareUpdates(), 1);
}

} // namespace
} // namespace zorel::sim::test
