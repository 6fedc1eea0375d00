#include <gtest/gtest.h>

#include "protocol/codec/Frame.h"
#include "protocol/codec/SettingsBlocks.h"
#include "protocol/codec/SnapshotImage.h"

namespace zorel {
namespace {

SnapshotContent WholePedal() {
  SnapshotContent c;
  for (int k = 127; k >= 0; --k) { // out of order on purpose
    SnapshotContent::Preset p;
    p.slot = k;
    p.payload[2] = static_cast<uint8_t>('A' + k % 26);
    c.presets.push_back(p);
  }
  c.presets[5].payload[PayloadParamOffset(kParamUserIR7Mode)] = 1;
  c.presets[5].payload[PayloadParamOffset(kParamUserIR7PresetMSB)] = 0;
  c.presets[5].payload[PayloadParamOffset(kParamUserIR7Preset)] = 12;
  SnapshotContent::IR ir;
  ir.number = 12;
  ir.block.fill(0x42);
  c.irs.push_back(ir);
  for (int type = 0; type < 3; ++type) {
    BlockData data{};
    data[1] = static_cast<uint8_t>(type + 1);
    const auto block = BuildSettingsBlock(type, data);
    c.settingsBlocks.emplace_back(block.begin(), block.end());
  }
  return c;
}

TEST(SnapshotImage, SplitsBackIntoWhatWasPutIn) {
  const auto image = BuildSnapshotImage(WholePedal());
  const SnapshotParts parts = SplitSnapshotImage(image);
  ASSERT_TRUE(parts.ok) << parts.problem;
  EXPECT_TRUE(parts.WholePedal());
  EXPECT_EQ(parts.slots.front(), 0);
  EXPECT_EQ(parts.slots.back(), 127);
  EXPECT_EQ(parts.irNumbers, std::vector<int>{12});
  ASSERT_EQ(parts.settings.size(), 3u);
  EXPECT_EQ(parts.settings[2][7], 2);
  EXPECT_EQ(parts.restore.size() + 3 * kBlockMessageLength, image.size());

  SnapshotContent one;
  one.presets.push_back({7, {}});
  const SnapshotParts single = SplitSnapshotImage(BuildSnapshotImage(one));
  ASSERT_TRUE(single.ok);
  EXPECT_FALSE(single.WholePedal());
  EXPECT_EQ(single.slots, std::vector<int>{7});
}

TEST(SnapshotImage, DamageIsRefused) {
  const auto image = BuildSnapshotImage(WholePedal());
  auto spoiled = image;
  spoiled[100] ^= 0x01; // a preset byte: its block checksum no longer fits
  EXPECT_FALSE(SplitSnapshotImage(spoiled).ok);
  auto cut = image;
  cut.resize(cut.size() - 5);
  EXPECT_FALSE(SplitSnapshotImage(cut).ok);
  auto irDamaged = image;
  irDamaged[128 * kBlockMessageLength + 300] ^= 0x01; // inside the IR's second chunk
  EXPECT_FALSE(SplitSnapshotImage(irDamaged).ok);
  // A whole pedal without the IR a preset uses fails the backup check.
  SnapshotContent missing = WholePedal();
  missing.irs.clear();
  const SnapshotParts parts = SplitSnapshotImage(BuildSnapshotImage(missing));
  EXPECT_FALSE(parts.ok);
  EXPECT_FALSE(parts.problem.empty());
  EXPECT_FALSE(SplitSnapshotImage({}).ok);
}

} // namespace
} // namespace zorel
