// Number encodings, checksums and 7-bit packing.

#include <gtest/gtest.h>

#include "protocol/codec/Encoding.h"
#include "protocol/codec/Frame.h"
#include "protocol/codec/Packing.h"
#include "tests/unit/codec/TestBytes.h"

namespace zorel {
namespace {

using test::Pattern;

TEST(Encoding, MultiByteValuesAreSevenBitGroupsHighFirst) {
  EXPECT_EQ(Encode14(200), (std::array<uint8_t, 2>{0x01, 0x48}));
  EXPECT_EQ(Encode14(385), (std::array<uint8_t, 2>{0x03, 0x01}));
  EXPECT_EQ(Encode21(2785), (std::array<uint8_t, 3>{0x00, 0x15, 0x61}));
  EXPECT_EQ(Encode21(kMax21BitValue), (std::array<uint8_t, 3>{0x7F, 0x7F, 0x7F}));
  for (int v : {0, 1, 127, 128, 255, 384, 391, 16383})
    EXPECT_EQ(Decode14(Encode14(v)[0], Encode14(v)[1]), v);
  for (uint32_t v : {0u, 1143u, 65536u, kMax21BitValue}) {
    const auto e = Encode21(v);
    EXPECT_EQ(Decode21(e[0], e[1], e[2]), v);
  }
  // Values outside the range never set bit 7 of a wire byte.
  EXPECT_EQ(Encode7(200), 200 & 0x7F);
  EXPECT_EQ(Encode7(-1), 0x7F);
}

TEST(Checksums, BlockChecksumMatchesQuotedValues) {
  std::array<uint8_t, 256> data{};
  EXPECT_EQ(BlockChecksum(data), (ChecksumPair{0x00, 0x00}));
  data.fill(0x7F); // S = 32512
  EXPECT_EQ(BlockChecksum(data), (ChecksumPair{0x7E, 0x00}));
  // Only bits 0..13 of a transfer sum are carried.
  EXPECT_EQ(ChecksumFromSum(0x4000 + 0x0181), (ChecksumPair{0x03, 0x01}));
}

TEST(Checksums, BlockCheckRejectsAnyChangedDataOrChecksumByte) {
  BlockData data{};
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i & 0x7F);
  const BlockMessage block = BuildBlockMessage(0x41, kSysExSubId, 3, data);
  ASSERT_TRUE(BlockChecksumOk(block));
  for (size_t offset : {size_t{8}, size_t{100}, size_t{263}, size_t{264}, size_t{265}}) {
    BlockMessage bad = block;
    bad[offset] ^= 0x01;
    EXPECT_FALSE(BlockChecksumOk(bad)) << "offset " << offset;
  }
  // The header and slot bytes are not covered.
  BlockMessage slot = block;
  slot[7] = 9;
  EXPECT_TRUE(BlockChecksumOk(slot));
  EXPECT_FALSE(BlockChecksumOk(std::span(block).first(266)));
}

TEST(Packing, LengthsFollowEightNPlusSevenOverSeven) {
  EXPECT_EQ(PackedLength(0), 1u);
  EXPECT_EQ(PackedLength(7), 9u); // 56 bits fill 8 bytes exactly: one padding byte
  EXPECT_EQ(PackedLength(210), 241u);
  EXPECT_EQ(PackedLength(1000), 1143u);
  EXPECT_EQ(PackedLength(2436), 2785u);
  EXPECT_EQ(UnpackedLength(2785), 2436u);
  EXPECT_EQ(UnpackedLength(1143), 1000u);
  for (size_t n = 0; n < 300; ++n) {
    std::vector<uint8_t> out(PackedLength(n) + 1, 0xAA);
    ASSERT_EQ(Pack7Into(Pattern(n), out), PackedLength(n)) << n;
    EXPECT_EQ(out[PackedLength(n) - 1] & 0x80, 0) << n; // the last byte is written
    EXPECT_EQ(out.back(), 0xAA) << n;                   // and nothing past it
    EXPECT_EQ(UnpackedLength(PackedLength(n)), n);
  }
}

TEST(Packing, BitsRunMostSignificantFirst) {
  EXPECT_EQ(Pack7(std::vector<uint8_t>{0xFF}), (std::vector<uint8_t>{0x7F, 0x40}));
  // 1000 0000 0000 0001 -> 1000000 0000000 01(00000)
  EXPECT_EQ(Pack7(std::vector<uint8_t>{0x80, 0x01}), (std::vector<uint8_t>{0x40, 0x00, 0x20}));
  const auto packed = Pack7(Pattern(2436));
  EXPECT_EQ(packed.back(), 0); // 19488 bits fill 2784 bytes; the last is padding
  for (uint8_t b : packed) ASSERT_LT(b, 0x80);
}

TEST(Packing, RoundTripAndBitSevenOfPackedBytesIgnored) {
  for (size_t n : {size_t{0}, size_t{1}, size_t{6}, size_t{7}, size_t{8}, size_t{2436}}) {
    const auto data = Pattern(n, static_cast<uint32_t>(n) + 5);
    auto packed = Pack7(data);
    EXPECT_EQ(Unpack7(packed), data);
    for (auto& b : packed) b |= 0x80;
    EXPECT_EQ(Unpack7(packed), data);
  }
}

TEST(StreamUnpacker, ChunkBoundariesDoNotMatter) {
  const auto data = Pattern(2436, 7);
  const auto packed = Pack7(data);
  for (size_t step : {size_t{1}, size_t{3}, size_t{7}, size_t{8}, size_t{256}, size_t{1000}}) {
    StreamUnpacker u;
    u.Reset(UnpackedLength(packed.size()), 4096);
    size_t produced = 0;
    for (size_t pos = 0; pos < packed.size(); pos += step) {
      const size_t n = std::min(step, packed.size() - pos);
      produced += u.Feed(std::span(packed).subspan(pos, n));
      // After g packed bytes, exactly 7g/8 bytes exist.
      ASSERT_EQ(u.Produced(), UnpackedLength(pos + n));
    }
    EXPECT_EQ(produced, data.size());
    EXPECT_TRUE(u.Complete());
    EXPECT_EQ(u.Output(), data) << "step " << step;
  }
}

TEST(StreamUnpacker, StopsAtExpectedCountAndCapacity) {
  const auto data = Pattern(100);
  const auto packed = Pack7(data);
  StreamUnpacker u;
  u.Reset(50, 4096); // expects less than is sent
  u.Feed(packed);
  EXPECT_EQ(u.Produced(), 50u);
  EXPECT_EQ(u.Output(), std::vector<uint8_t>(data.begin(), data.begin() + 50));
  EXPECT_EQ(u.Feed(packed), 0u);

  u.Reset(100, 40); // expects more than it may keep
  u.Feed(packed);
  EXPECT_EQ(u.Produced(), 100u);
  EXPECT_EQ(u.Output().size(), 40u);
  EXPECT_TRUE(u.Overflowed());

  // Reset drops the bits left over from the previous stream.
  u.Reset(1, 10);
  u.Feed(Pack7(std::vector<uint8_t>{0xA5}));
  EXPECT_EQ(u.Output(), std::vector<uint8_t>{0xA5});
}

} // namespace
} // namespace zorel
