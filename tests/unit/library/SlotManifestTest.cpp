// The library's record of its slot files, and the digest it keeps.

#include <array>
#include <cstring>
#include <string>

#include "LibraryTestSupport.h"
#include "library/IRBlock.h"
#include "library/LibraryPaths.h"
#include "library/Sha256.h"
#include "library/SlotCache.h"
#include "library/SlotManifest.h"

namespace zorel::lib {
namespace {

using test::ReadFileBytes;
using test::WriteFileBytes;

std::vector<uint8_t> Text(const std::string& text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

TEST(Sha256, MatchesKnownDigests) {
  struct Case {
    std::string input;
    const char* digest;
  };
  const Case cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      // Lengths around the padding boundaries of one and two blocks.
      {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
      {std::string(56, 'a'), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
      {std::string(63, 'a'), "7d3e74a05d7db15bce4ad9ec0658ea98e3f06eeecf16b4c6fff2da457ddc2f34"},
      {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
      {std::string(65, 'a'), "635361c48bb9eab14198e76ea8ab7f1a41685d6ad62aa9146d301d4f17eb0ae0"},
      {std::string(119, 'a'), "31eba51c313a5c08226adf18d4a359cfdfd8d2e816b13f4af952f7ea6584dcfb"},
      {std::string(120, 'a'), "2f3d335432c70b580af0e8e1b3674a7c020d683aa5f73aaaedfdc55af904c21c"},
      {std::string(1000000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Sha256Hex(Text(c.input)), c.digest) << c.input.size() << " bytes";
  EXPECT_EQ(ShortContentHash(Text("abc")), "ba7816bf");
}

class SlotManifestTest : public test::TempRootTest {
protected:
  void SetUp() override {
    test::TempRootTest::SetUp();
    cache = std::make_unique<SlotCache>(root, tables);
  }
  // A payload whose bytes 2 and 3 differ, so that swapping them keeps the
  // pedal's plain sum.
  static std::array<uint8_t, kPresetPayloadSize> Payload() {
    std::array<uint8_t, kPresetPayloadSize> p{};
    for (size_t i = 0; i < p.size(); ++i) p[i] = static_cast<uint8_t>(i & 0x7F);
    return p;
  }
  static void SwapTwoBytes(const std::string& path, size_t a, size_t b) {
    std::vector<uint8_t> bytes = ReadFileBytes(path);
    std::swap(bytes[a], bytes[b]);
    WriteFileBytes(path, bytes);
  }

  LibraryTables tables;
  std::unique_ptr<SlotCache> cache;
};

TEST_F(SlotManifestTest, AFileChangedBehindTheLibrarysBackCountsAsAbsent) {
  const auto payload = Payload();
  const BlockChecksum sum = ComputeBlockChecksum(payload);
  ASSERT_TRUE(cache->WritePresetSlot(5, payload, sum.high, sum.low));
  const IRBlockBytes block = BuildIRBlock(1000, PadName("Room"), std::vector<double>(1200, 0.25));
  ASSERT_TRUE(cache->WriteIRSlot(17, block));
  ASSERT_TRUE(cache->ReadPresetSlot(5));
  ASSERT_TRUE(cache->UserIRSlotExists(17));

  SwapTwoBytes(PresetSlotPath(root, 5), 2, 3);
  SwapTwoBytes(UserIRSlotPath(root, 17), 40, 41);
  // A new cache reads the record from disk, as the next start does.
  LibraryTables fresh;
  SlotCache again(root, fresh);
  EXPECT_FALSE(again.ReadPresetSlot(5));
  again.RefreshPresetList(0);
  EXPECT_EQ(fresh.mPresetChecksums[5], (BlockChecksum{0, 0})) << "as an absent file";
  EXPECT_EQ(fresh.mPresetRowTexts[5], " 05 ");
  EXPECT_FALSE(again.UserIRSlotExists(17));
  EXPECT_FALSE(again.ReadUserIRBlock(17));
  EXPECT_FALSE(again.LoadUserIRSlot(17));
  EXPECT_FALSE(again.HoldsIRBlock(17, block));

  // Read from the pedal again, the slot is trusted again.
  ASSERT_TRUE(again.WritePresetSlot(5, payload, sum.high, sum.low));
  EXPECT_TRUE(again.ReadPresetSlot(5));
  ASSERT_TRUE(again.WriteIRSlot(17, block));
  EXPECT_TRUE(again.HoldsIRBlock(17, block));
}

TEST_F(SlotManifestTest, TheRecordIsWhatSha256sumChecks) {
  const auto payload = Payload();
  ASSERT_TRUE(cache->WritePresetSlot(0, payload, 0, 0));
  const std::vector<uint8_t> record = ReadFileBytes(root + SlotManifest::kFileName);
  const std::string expected = Sha256Hex(payload) + "  Presets/001.dat\n";
  EXPECT_EQ(std::string(record.begin(), record.end()), expected);

  // A damaged line costs only its own entry: the file it named is taken as
  // it is, like the files of a library from before the record.
  WriteFileBytes(root + SlotManifest::kFileName, Text("not a digest  Presets/001.dat\n"));
  SwapTwoBytes(PresetSlotPath(root, 0), 2, 3);
  LibraryTables fresh;
  SlotCache again(root, fresh);
  EXPECT_TRUE(again.ReadPresetSlot(0));
}

TEST_F(SlotManifestTest, DeletedFilesLeaveTheRecord) {
  const auto payload = Payload();
  ASSERT_TRUE(cache->WritePresetSlot(0, payload, 0, 0));
  ASSERT_TRUE(cache->WriteIRSlot(3, BuildIRBlock(1, PadName("A"), std::vector<double>(1200))));
  cache->ForgetIRSlot(3);
  cache->ClearPedalContent();
  EXPECT_TRUE(ReadFileBytes(root + SlotManifest::kFileName).empty());
  // A file put back by hand after a clear is taken as it is.
  WriteFileBytes(PresetSlotPath(root, 0), std::vector<uint8_t>(payload.begin(), payload.end()));
  SwapTwoBytes(PresetSlotPath(root, 0), 2, 3);
  EXPECT_TRUE(cache->ReadPresetSlot(0));
}

TEST_F(SlotManifestTest, ASlotThatCannotBeWrittenKeepsItsOldChecksumAndSaysSo) {
  std::filesystem::create_directories(PresetSlotPath(root, 9)); // a folder in its place
  tables.mPresetFetchFlags[9] = true;
  EXPECT_FALSE(cache->WritePresetSlot(9, Payload(), 0x12, 0x34));
  EXPECT_EQ(tables.mPresetChecksums[9], (BlockChecksum{0, 0}))
      << "the table holds what the disk holds, so the slot is asked for again";
  EXPECT_FALSE(tables.mPresetFetchFlags[9]) << "a bulk read goes on to the next slot";
}

} // namespace
} // namespace zorel::lib
