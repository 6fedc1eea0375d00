// The library remembers which pedal it mirrors; another pedal's content is
// never mixed with it.

#include "library/MirroredPedal.h"
#include "LibraryTestSupport.h"
#include "library/IRBlock.h"
#include "library/LibraryPaths.h"
#include "library/SlotCache.h"

namespace zorel::lib {
namespace {

using test::Exists;

class MirroredPedalTest : public test::TempRootTest {
protected:
  void SetUp() override {
    test::TempRootTest::SetUp();
    cache = std::make_unique<SlotCache>(root, tables);
  }

  // A preset, a user IR and a factory IR in the cache.
  void FillCache() {
    std::array<uint8_t, kPresetPayloadSize> payload{};
    cache->WritePresetSlot(0, payload, 0, 0);
    const IRBlockBytes block = BuildIRBlock(0x4000, PadName("IR"), {});
    ASSERT_TRUE(cache->StoreIRDump(3, block));
    ASSERT_TRUE(cache->StoreIRDump(384, block));
  }

  LibraryTables tables;
  std::unique_ptr<SlotCache> cache;
};

std::string Padded(const std::string& serial) {
  std::string field = serial;
  field.resize(32, ' ');
  return field;
}

TEST(MirroredPedal, SerialsAreComparedWithoutTheirPadding) {
  struct Case {
    std::string raw;
    std::string normalized;
  };
  const Case cases[] = {
      {Padded("ZR-004711"), "ZR-004711"},
      {std::string("ZR-1\0\0\0", 7), "ZR-1"},
      {"  ZR-2  ", "ZR-2"},
      {Padded(""), ""},
      {"ZR\n3\x7F", "ZR?3?"},
  };
  for (const Case& c : cases) EXPECT_EQ(NormalizeSerial(c.raw), c.normalized) << c.raw;

  struct Match {
    std::optional<std::string> remembered;
    std::string connected;
    PedalMatch match;
  };
  const Match matches[] = {
      {std::nullopt, Padded("ZR-1"), PedalMatch::kFirstPedal},
      {"ZR-1", Padded("ZR-1"), PedalMatch::kSamePedal},
      {"ZR-1", Padded("ZR-2"), PedalMatch::kDifferentPedal},
      {"ZR-1", Padded("zr-1"), PedalMatch::kDifferentPedal},
      {"", Padded(""), PedalMatch::kSamePedal},
      {"ZR-1", Padded(""), PedalMatch::kDifferentPedal},
  };
  for (const Match& m : matches) EXPECT_EQ(MatchPedal(m.remembered, m.connected), m.match);
  EXPECT_FALSE(CacheMustBeRebuilt(PedalMatch::kSamePedal));
  EXPECT_TRUE(CacheMustBeRebuilt(PedalMatch::kFirstPedal));
  EXPECT_TRUE(CacheMustBeRebuilt(PedalMatch::kDifferentPedal));
}

TEST_F(MirroredPedalTest, TheSerialIsRememberedWhole) {
  EXPECT_FALSE(ReadMirroredPedalSerial(root));
  ASSERT_TRUE(RememberMirroredPedal(root, Padded("ZR-004711")));
  EXPECT_EQ(test::ReadFileBytes(root + "/mirrored-pedal.txt"),
            (std::vector<uint8_t>{'Z', 'R', '-', '0', '0', '4', '7', '1', '1', '\n'}));
  EXPECT_EQ(ReadMirroredPedalSerial(root), "ZR-004711");
  test::WriteFileBytes(root + "/mirrored-pedal.txt", {});
  EXPECT_EQ(ReadMirroredPedalSerial(root), "") << "an empty file names a blank serial";
}

TEST_F(MirroredPedalTest, AnotherPedalClearsTheCacheBeforeItIsRemembered) {
  FillCache();
  // First connection ever: the cache's origin is unknown, so it goes.
  PedalAdoption first = AdoptConnectedPedal(*cache, Padded("ZR-1"));
  EXPECT_EQ(first.match, PedalMatch::kFirstPedal);
  EXPECT_TRUE(first.cacheCleared);
  EXPECT_TRUE(first.remembered);
  EXPECT_TRUE(first.message.empty());
  EXPECT_FALSE(Exists(root + "/Presets/001.dat"));
  EXPECT_FALSE(cache->UserIRSlotExists(3));
  EXPECT_TRUE(cache->FactoryIRSlotExists(0));

  // The same pedal again keeps what was read from it since.
  FillCache();
  PedalAdoption same = AdoptConnectedPedal(*cache, Padded("ZR-1"));
  EXPECT_EQ(same.match, PedalMatch::kSamePedal);
  EXPECT_FALSE(same.cacheCleared);
  EXPECT_TRUE(Exists(root + "/Presets/001.dat"));
  EXPECT_TRUE(cache->UserIRSlotExists(3));

  // Another pedal: cleared, told, and remembered from now on.
  PedalAdoption other = AdoptConnectedPedal(*cache, Padded("ZR-2"));
  EXPECT_EQ(other.match, PedalMatch::kDifferentPedal);
  EXPECT_TRUE(other.cacheCleared);
  EXPECT_EQ(other.message,
            "This Zorel (serial ZR-2) is not the one whose presets and IRs this library holds "
            "(serial ZR-1). The library's copy is cleared and read anew from this pedal.");
  EXPECT_FALSE(Exists(root + "/Presets/001.dat"));
  EXPECT_FALSE(cache->UserIRSlotExists(3));
  EXPECT_EQ(ReadMirroredPedalSerial(root), "ZR-2");
}

TEST_F(MirroredPedalTest, ARootThatCannotRememberClearsEveryTime) {
  // Nothing remembered means the next connection clears again: slower, but
  // never a cache filed under the wrong pedal.
  SlotCache lost(root + "/not/there", tables);
  EXPECT_FALSE(AdoptConnectedPedal(lost, "ZR-1").remembered);
  EXPECT_EQ(AdoptConnectedPedal(lost, "ZR-1").match, PedalMatch::kFirstPedal);
}

} // namespace
} // namespace zorel::lib
