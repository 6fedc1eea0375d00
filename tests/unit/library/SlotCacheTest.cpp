// The slot files under a real library root and the tables they fill.

#include <array>
#include <cstring>

#include "LibraryTestSupport.h"
#include "library/IRBlock.h"
#include "library/LibraryPaths.h"
#include "library/SlotCache.h"

namespace zorel::lib {
namespace {

using test::Exists;
using test::ReadFileBytes;
using test::WriteFileBytes;

class RecordingView : public ILibraryView {
public:
  void SetPresetRowText(int row, const std::string& text) override { rows[row] = text; }
  std::array<std::string, kPresetSlotCount> rows;
};

class SlotCacheTest : public test::TempRootTest {
protected:
  void SetUp() override {
    test::TempRootTest::SetUp();
    cache = std::make_unique<SlotCache>(LibraryRootPath(), tables);
    cache->SetView(&view);
  }

  std::array<uint8_t, kPresetPayloadSize> Payload(const std::string& name, uint8_t fill = 0) {
    std::array<uint8_t, kPresetPayloadSize> p;
    p.fill(fill);
    const NameField field = PadName(name);
    std::memcpy(p.data() + 2, field.data(), field.size());
    return p;
  }

  IRBlockBytes Block(const std::string& name, uint16_t gainWord, int16_t firstSample) {
    std::vector<double> samples(kIRBlockSamples, 0.0);
    samples[0] = firstSample / 32768.0;
    return BuildIRBlock(gainWord, PadName(name), samples);
  }

  LibraryTables tables;
  RecordingView view;
  std::unique_ptr<SlotCache> cache;
};

TEST_F(SlotCacheTest, RootFollowsTheEnvironmentInOrder) {
  EXPECT_EQ(LibraryRootPath(), root);
  ::unsetenv("ZOREL_HOME");
  ::setenv("XDG_DATA_HOME", "/data/", 1);
  EXPECT_EQ(LibraryRootPath(), "/data/ZorelControl");
  ::unsetenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  const std::string oldHome = home ? home : "";
  ::setenv("HOME", "/home/me", 1);
  EXPECT_EQ(LibraryRootPath(), "/home/me/.local/share/ZorelControl");
  ::setenv("HOME", oldHome.c_str(), 1);
  EXPECT_EQ(UserIRSlotPath(root, 0), root + "/User IRs/001.dat");
  EXPECT_EQ(IRSlotPathFor(root, 385), root + "/Factory IRs/002.dat");
  EXPECT_EQ(IRSlotPathFor(root, 200), root + "/User IRs/201.dat");
}

TEST_F(SlotCacheTest, EmptyLibraryGivesNumberedRowsAndZeroChecksums) {
  tables.mPresetRowTexts[5] = "left alone";
  EXPECT_EQ(cache->ScanPresetFolder(0), 0);
  EXPECT_TRUE(std::filesystem::is_directory(root + "/Presets"));
  EXPECT_EQ(tables.mPresetRowTexts[5], "left alone");

  cache->RefreshPresetList(0);
  EXPECT_EQ(tables.mPresetRowTexts[0], " 00 ");
  EXPECT_EQ(tables.mPresetRowTexts[127], " 127 ");
  EXPECT_EQ(view.rows[127], " 127 ");
  cache->RefreshPresetList(1);
  EXPECT_EQ(tables.mPresetRowTexts[0], " 01 ");
  EXPECT_EQ(tables.mPresetRowTexts[127], " 128 ");
  for (const BlockChecksum& c : tables.mPresetChecksums) EXPECT_EQ(c, (BlockChecksum{0, 0}));
}

TEST_F(SlotCacheTest, WrittenSlotsComeBackAsRowsAndChecksums) {
  std::array<uint8_t, kPresetPayloadSize> all7F;
  all7F.fill(0x7F);
  tables.mPresetFetchFlags[3] = true;
  cache->WritePresetSlot(3, all7F, 0x7E, 0x00);
  EXPECT_FALSE(tables.mPresetFetchFlags[3]);
  EXPECT_EQ(ReadFileBytes(root + "/Presets/004.dat").size(), kPresetPayloadSize);

  // The checksum of the file must equal what the pedal reported for it.
  tables.mPresetChecksums[3] = {};
  cache->RefreshPresetList(1);
  EXPECT_EQ(tables.mPresetChecksums[3], (BlockChecksum{0x7E, 0x00}));

  cache->WritePresetSlot(3, Payload("Fat Bottom"), 0, 0);
  cache->RefreshPresetList(1);
  EXPECT_EQ(tables.mPresetRowTexts[3], " 04 Fat Bottom" + std::string(22, ' '));
  EXPECT_EQ(view.rows[3], tables.mPresetRowTexts[3]);

  // A short file counts the missing bytes as zero.
  WriteFileBytes(root + "/Presets/010.dat", std::vector<uint8_t>(10, 100));
  cache->RefreshPresetList(0);
  EXPECT_EQ(tables.mPresetChecksums[9], ComputeBlockChecksum(std::vector<uint8_t>(10, 100)));
}

TEST_F(SlotCacheTest, ScanFillsRowsInNameOrderAndCountsDatFiles) {
  cache->WritePresetSlot(0, Payload("First"), 0, 0);
  cache->WritePresetSlot(20, Payload("Later"), 0, 0);
  cache->WritePresetSlot(2, Payload("Third"), 0, 0);
  WriteFileBytes(root + "/Presets/notes.txt", {1});
  WriteFileBytes(root + "/Presets/x.dat.bak", {1});
  std::filesystem::create_directory(root + "/Presets/dir.dat");

  EXPECT_EQ(cache->ScanPresetFolder(0), 3);
  EXPECT_EQ(tables.mPresetRowTexts[0].substr(0, 9), " 00 First");
  EXPECT_EQ(tables.mPresetRowTexts[1].substr(0, 9), " 01 Third");
  EXPECT_EQ(tables.mPresetRowTexts[2].substr(0, 9), " 02 Later");

  for (int s = 0; s < 130 && s < kPresetSlotCount; ++s)
    cache->WritePresetSlot(s, Payload("P"), 0, 0);
  WriteFileBytes(root + "/Presets/200.dat", {1});
  EXPECT_EQ(cache->ScanPresetFolder(0), 129) << "a full folder ends a bulk read";
}

TEST_F(SlotCacheTest, IRSlotsLoadOnlyWhenWholeButNamesAlwaysShow) {
  EXPECT_FALSE(cache->UserIRSlotExists(7));
  const IRBlockBytes block = Block("Bright", 0x8000, -32768);
  ASSERT_TRUE(cache->WriteIRSlot(7, block));
  EXPECT_TRUE(cache->UserIRSlotExists(7));

  tables.mIRBuffer.fill(0.25);
  EXPECT_TRUE(cache->LoadUserIRSlot(7));
  EXPECT_DOUBLE_EQ(tables.mIRGain, 1.0) << "0x8000 is full level";
  EXPECT_DOUBLE_EQ(tables.mIRBuffer[0], -1.0);
  EXPECT_DOUBLE_EQ(tables.mIRBuffer[1199], 0.0);
  EXPECT_DOUBLE_EQ(tables.mIRBuffer[1200], 0.25) << "the rest of the buffer stays";

  cache->ReadUserIRName(7);
  EXPECT_EQ(tables.mUserIRNames[7], "Bright");
  cache->ReadUserIRName(37);
  EXPECT_EQ(tables.mUserIRNames[37], "Empty Slot 6");

  // One byte short: not loaded, still named.
  WriteFileBytes(root + "/User IRs/009.dat", std::vector<uint8_t>(block.begin(), block.end() - 1));
  tables.mIRBuffer.fill(0.5);
  EXPECT_FALSE(cache->LoadUserIRSlot(8));
  EXPECT_DOUBLE_EQ(tables.mIRBuffer[0], 0.5);
  cache->ReadUserIRName(8);
  EXPECT_EQ(tables.mUserIRNames[8], "Bright");

  // A file shorter than the name field ends the name at its end.
  WriteFileBytes(root + "/User IRs/010.dat", {1, 0, 0, 0, 'A', 'b'});
  cache->ReadUserIRName(9);
  EXPECT_EQ(tables.mUserIRNames[9], "Ab");
}

TEST_F(SlotCacheTest, IRDumpsLandInTheirFoldersAndRenameFactoryCabinets) {
  const IRBlockBytes factory = Block("Big Stack", 0x4000, 100);
  cache->StoreIRDump(385, factory);
  EXPECT_EQ(ReadFileBytes(root + "/Factory IRs/002.dat"),
            std::vector<uint8_t>(factory.begin(), factory.end()));
  EXPECT_EQ(tables.mCabinetNames[2], "Big Stack");
  EXPECT_TRUE(cache->FactoryIRSlotExists(1));

  cache->StoreIRDump(200, Block("User", 0x4000, 1));
  EXPECT_TRUE(Exists(root + "/User IRs/201.dat"));

  // Factory numbers past the eighth have no cabinet entry to rename.
  const std::array<std::string, kCabinetCount> before = tables.mCabinetNames;
  cache->StoreIRDump(384 + 100, Block("Stray", 0x4000, 1));
  EXPECT_TRUE(Exists(root + "/Factory IRs/101.dat"));
  EXPECT_EQ(tables.mCabinetNames, before);

  cache->ReadFactoryIRName(1);
  EXPECT_EQ(tables.mCabinetNames[2], "Big Stack");
  tables.mIRBuffer.fill(0.0);
  EXPECT_TRUE(cache->LoadFactoryIRSlot(1));
  EXPECT_DOUBLE_EQ(tables.mIRGain, 0.5);
  EXPECT_DOUBLE_EQ(tables.mIRBuffer[0], 100 / 32768.0);
}

TEST_F(SlotCacheTest, ClearCacheEmptiesTheFoldersOfFilesWithADot) {
  cache->WritePresetSlot(0, Payload("A"), 0, 0);
  cache->StoreIRDump(3, Block("U", 1, 1));
  cache->StoreIRDump(390, Block("F", 1, 1));
  WriteFileBytes(root + "/Factory IRs/01-Movrant.wav", {1});
  WriteFileBytes(root + "/User IRs/README", {1});
  WriteFileBytes(root + "/settings.ini", {1});

  cache->ClearCache();
  for (const char* folder : {"/Presets", "/User IRs", "/Factory IRs"})
    EXPECT_TRUE(std::filesystem::is_directory(root + folder)) << folder;
  EXPECT_FALSE(Exists(root + "/Presets/001.dat"));
  EXPECT_FALSE(Exists(root + "/User IRs/004.dat"));
  EXPECT_FALSE(Exists(root + "/Factory IRs/007.dat"));
  EXPECT_FALSE(Exists(root + "/Factory IRs/01-Movrant.wav"));
  EXPECT_TRUE(Exists(root + "/User IRs/README"));
  EXPECT_TRUE(Exists(root + "/settings.ini")) << "the root itself is not cache";
}

TEST_F(SlotCacheTest, OnlyAWholeIRBlockCountsAsAnIR) {
  const IRBlockBytes block = Block("Whole", 0x4000, 7);
  const std::vector<uint8_t> whole(block.begin(), block.end());
  // Sizes a lost or cut chunk leaves, and one too many.
  for (size_t size : {size_t{0}, size_t{2213}, size_t{2405}, size_t{2435}, size_t{2437}}) {
    std::vector<uint8_t> bytes = whole;
    bytes.resize(size, 0);
    WriteFileBytes(root + "/User IRs/005.dat", bytes);
    WriteFileBytes(root + "/Factory IRs/003.dat", bytes);
    EXPECT_FALSE(cache->UserIRSlotExists(4)) << size << " bytes";
    EXPECT_FALSE(cache->FactoryIRSlotExists(2)) << size << " bytes";
    EXPECT_FALSE(cache->ReadUserIRBlock(4)) << size << " bytes";
  }
  WriteFileBytes(root + "/User IRs/005.dat", whole);
  EXPECT_TRUE(cache->UserIRSlotExists(4));
  std::filesystem::create_directory(root + "/User IRs/006.dat");
  EXPECT_FALSE(cache->UserIRSlotExists(5)) << "a folder of that name";
}

TEST_F(SlotCacheTest, AnIncompleteDumpIsNotStored) {
  const IRBlockBytes old = Block("Old", 0x4000, 1);
  ASSERT_TRUE(cache->StoreIRDump(20, old));
  const IRBlockBytes next = Block("Next", 0x4000, 2);
  for (size_t size : {size_t{0}, size_t{2213}, size_t{2435}, size_t{4096}}) {
    std::vector<uint8_t> bytes(next.begin(), next.end());
    bytes.resize(size, 0);
    EXPECT_FALSE(cache->StoreIRDump(20, bytes)) << size;
    EXPECT_EQ(ReadFileBytes(root + "/User IRs/021.dat"),
              std::vector<uint8_t>(old.begin(), old.end()))
        << "the slot keeps what it had";
  }
  // A short factory dump renames no cabinet either.
  const std::string before = tables.mCabinetNames[1];
  EXPECT_FALSE(cache->StoreIRDump(384, std::vector<uint8_t>(next.begin(), next.begin() + 100)));
  EXPECT_EQ(tables.mCabinetNames[1], before);
  EXPECT_TRUE(cache->StoreIRDump(20, next));
  EXPECT_EQ(ReadFileBytes(root + "/User IRs/021.dat"),
            std::vector<uint8_t>(next.begin(), next.end()));
}

TEST_F(SlotCacheTest, SlotFilesAreReplacedNotRewrittenInPlace) {
  // A hard link keeps the old file: a write in place would change it too, so
  // a reader of the old file can never see a half-written one.
  cache->WritePresetSlot(0, Payload("First"), 0, 0);
  ASSERT_TRUE(cache->WriteIRSlot(1, Block("First", 0x4000, 1)));
  const std::string preset = root + "/Presets/001.dat", ir = root + "/User IRs/002.dat";
  std::filesystem::create_hard_link(preset, root + "/old-preset");
  std::filesystem::create_hard_link(ir, root + "/old-ir");
  const std::vector<uint8_t> oldPreset = ReadFileBytes(preset), oldIR = ReadFileBytes(ir);

  cache->WritePresetSlot(0, Payload("Second"), 0, 0);
  EXPECT_TRUE(cache->StoreIRDump(1, Block("Second", 0x4000, 2)));
  EXPECT_EQ(ReadFileBytes(root + "/old-preset"), oldPreset);
  EXPECT_EQ(ReadFileBytes(root + "/old-ir"), oldIR);
  EXPECT_NE(ReadFileBytes(preset), oldPreset);
  EXPECT_NE(ReadFileBytes(ir), oldIR);
  for (const char* folder : {"/Presets", "/User IRs"})
    for (const auto& e : std::filesystem::directory_iterator(root + folder))
      EXPECT_EQ(e.path().filename().string().find(".tmp-"), std::string::npos) << e.path();
}

TEST_F(SlotCacheTest, ForgottenAndClearedPedalContentIsFetchedAgain) {
  cache->WritePresetSlot(0, Payload("A"), 0, 0);
  ASSERT_TRUE(cache->StoreIRDump(7, Block("U7", 1, 1)));
  ASSERT_TRUE(cache->StoreIRDump(8, Block("U8", 1, 1)));
  ASSERT_TRUE(cache->StoreIRDump(386, Block("F", 1, 1)));
  WriteFileBytes(root + "/Factory IRs/01-Movrant.wav", {1});

  cache->ForgetIRSlot(7);
  EXPECT_FALSE(cache->UserIRSlotExists(7));
  EXPECT_TRUE(cache->UserIRSlotExists(8));

  cache->ClearPedalContent();
  EXPECT_FALSE(Exists(root + "/Presets/001.dat"));
  EXPECT_FALSE(cache->UserIRSlotExists(8));
  EXPECT_TRUE(cache->FactoryIRSlotExists(2)) << "factory IRs are every pedal's";
  EXPECT_TRUE(Exists(root + "/Factory IRs/01-Movrant.wav"));
}

TEST_F(SlotCacheTest, SlotFilesOfAMissingRootAreNotClaimedByTheTables) {
  SlotCache lost(root + "/not/there", tables);
  EXPECT_FALSE(lost.WritePresetSlot(4, Payload("X"), 0x11, 0x22));
  EXPECT_EQ(tables.mPresetChecksums[4], (BlockChecksum{0, 0}));
  lost.StoreIRDump(1, Block("X", 1, 1));
  EXPECT_FALSE(lost.UserIRSlotExists(1));
  EXPECT_EQ(lost.ScanPresetFolder(0), 0);
}

} // namespace
} // namespace zorel::lib
