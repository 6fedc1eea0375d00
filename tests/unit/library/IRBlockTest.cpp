// IR blocks, the level factor, the upload hand-over and the cabinet display.

#include <cmath>

#include "LibraryTestSupport.h"
#include "library/CabinetResponse.h"
#include "library/IRBlock.h"
#include "library/IRUpload.h"
#include "library/UploadState.h"

namespace zorel::lib {
namespace {

TEST(IRGain, FollowsTheEnergyOfTheFirst1200Samples) {
  std::vector<double> x(kIRBufferSize, 0.0);
  x[0] = x[1] = x[2] = x[3] = 1.0; // sum of squares 4.0
  EXPECT_NEAR(ComputeIRGain(x), 0.4243, 1e-4);
  EXPECT_EQ(GainToWord(ComputeIRGain(x)), 13902);
  x[1200] = 100.0; // beyond what the block holds: no effect
  EXPECT_EQ(GainToWord(ComputeIRGain(x)), 13902);

  std::vector<double> quiet(kIRBlockSamples, 0.0);
  quiet[0] = std::sqrt(0.5);
  EXPECT_EQ(ComputeIRGain(quiet), 1.0);
  EXPECT_EQ(GainToWord(ComputeIRGain(quiet)), 0x8000);
  EXPECT_EQ(ComputeIRGain(std::vector<double>(kIRBlockSamples, 0.0)), 1.0) << "silence";
}

TEST(IRBlock, SamplesAtOrBeyondFullScaleAreClampedNotWrapped) {
  EXPECT_EQ(SampleToWord(1.0), 32767);
  EXPECT_EQ(SampleToWord(1.00787), 32767); // 8-bit 255
  EXPECT_EQ(SampleToWord(-1.0), -32768);
  EXPECT_EQ(SampleToWord(-1.2), -32768);
  EXPECT_EQ(SampleToWord(0.99999), 32767);
  EXPECT_EQ(SampleToWord(-0.5), -16384);
  EXPECT_EQ(SampleToWord(0.7), 22937); // truncated, not rounded
  EXPECT_EQ(SampleToWord(std::nan("")), 0);

  std::vector<double> samples = {1.0, -1.0, 0.25};
  const IRBlockBytes block = BuildIRBlock(13902, PadName("Cab"), samples);
  EXPECT_EQ(block[0] | (block[1] << 8), 1);
  EXPECT_EQ(IRBlockGainWord(block), 13902);
  EXPECT_EQ(TrimName(IRBlockName(block)), "Cab");
  IRBuffer back{};
  IRBlockSamplesInto(block, back);
  EXPECT_DOUBLE_EQ(back[0], 32767 / 32768.0);
  EXPECT_DOUBLE_EQ(back[1], -1.0);
  EXPECT_DOUBLE_EQ(back[2], 0.25);
  EXPECT_DOUBLE_EQ(back[3], 0.0);
}

// The library trims names as the codec does: an IR named "A" by the pedal
// and in its slot file is the same IR, not one to fetch again.
TEST(NameTrimming, CutsTrailingSpacesAsTheCodecDoes) {
  EXPECT_EQ(TrimName(PadName("Bright")), "Bright");
  EXPECT_EQ(TrimName(PadName("A")), "A");
  EXPECT_EQ(TrimName(PadName("")), std::string(32, ' '));
  EXPECT_EQ(TrimName(PadName(" two  words  ")), " two  words");
  EXPECT_EQ(TrimName(PadName(std::string(40, 'x'))), std::string(32, 'x'));
}

TEST(BlockChecksum, MatchesThePedalsSum) {
  EXPECT_EQ(ComputeBlockChecksum(std::vector<uint8_t>(256, 0x7F)), (BlockChecksum{0x7E, 0x00}));
  EXPECT_EQ(ComputeBlockChecksum(std::vector<uint8_t>(256, 0)), (BlockChecksum{0, 0}));
  EXPECT_EQ(ComputeBlockChecksum(std::vector<uint8_t>{0x80, 0x01}), (BlockChecksum{1, 1}));
}

TEST(UploadState, LoadsAStreamAndRestartsARunningOne) {
  UploadState state;
  std::vector<uint8_t> packed(2785, 0x7F);
  ASSERT_TRUE(state.Load(packed));
  const int sum = 2785 * 0x7F;
  EXPECT_EQ(state.mUploadTotal, 2785);
  EXPECT_EQ(state.mUploadRemaining, 2785);
  EXPECT_EQ(state.mUploadChecksumHigh, (sum >> 7) & 0x7F);
  EXPECT_EQ(state.mUploadChecksumLow, sum & 0x7F);
  EXPECT_FALSE(state.mIRUploadRunning.load());
  state.Start();
  state.mUploadPosition = 1024;
  ASSERT_TRUE(state.Load(std::vector<uint8_t>(10, 1)));
  EXPECT_EQ(state.mUploadPosition, 0);
  EXPECT_EQ(state.mUploadBuffer[10], 0) << "old bytes are cleared";
  EXPECT_FALSE(state.Load(std::vector<uint8_t>(UploadState::kBufferSize + 1, 0)));
  EXPECT_EQ(state.mUploadTotal, 10);
}

class IRLibraryTest : public test::TempRootTest {
protected:
  void StoreFactory(int index, double value) {
    std::vector<double> s(kIRBlockSamples, value);
    SlotCache(root, tables).WriteIRSlot(384 + index, BuildIRBlock(0x8000, PadName("F"), s));
  }
  LibraryTables tables;
};

TEST_F(IRLibraryTest, PrepareIRUploadWritesTheBlockWhereTheNumberBelongs) {
  SlotCache cache(root, tables);
  tables.mIRBuffer.fill(0.0);
  tables.mIRBuffer[0] = 1.0;
  tables.mIRBuffer[1] = 1.0;
  tables.mIRBuffer[2] = 1.0;
  tables.mIRBuffer[3] = 1.0;
  const PreparedIRUpload user = PrepareIRUpload(cache, PadName("Room  "), 130);
  EXPECT_TRUE(user.slotWritten);
  EXPECT_EQ(user.name, "Room");
  EXPECT_NEAR(tables.mIRGain, 0.4243, 1e-4);
  EXPECT_EQ(IRBlockGainWord(user.block), 13902);
  EXPECT_EQ(SampleToWord(1.0), static_cast<int16_t>(user.block[36] | (user.block[37] << 8)));
  const std::vector<uint8_t> file = test::ReadFileBytes(root + "/User IRs/131.dat");
  EXPECT_EQ(file, std::vector<uint8_t>(user.block.begin(), user.block.end()));

  PrepareIRUpload(cache, PadName("Fac"), 386);
  EXPECT_TRUE(test::Exists(root + "/Factory IRs/003.dat"));
}

TEST_F(IRLibraryTest, CabinetPositionsPickOrBlendNeighbours) {
  EXPECT_FLOAT_EQ(CabinetPositionFor(64).y, 4.0f);
  EXPECT_EQ(CabinetPositionFor(64).hi, 4);
  EXPECT_NEAR(CabinetPositionFor(70).y, 4.4f, 1e-6);
  EXPECT_EQ(CabinetPositionFor(70).lo, 4);
  EXPECT_EQ(CabinetPositionFor(70).hi, 5);
  EXPECT_FLOAT_EQ(CabinetPositionFor(127).y, 8.0f);

  SlotCache cache(root, tables);
  const CabinetSources sources;
  FillCabinetResponse(cache, 0, sources);
  EXPECT_EQ(tables.mIRBuffer[0], 1.0);
  EXPECT_EQ(tables.mIRBuffer[1], 0.0);

  StoreFactory(3, 0.5);   // cabinet 4
  StoreFactory(4, -0.25); // cabinet 5
  FillCabinetResponse(cache, 64, sources);
  EXPECT_DOUBLE_EQ(tables.mIRBuffer[0], 0.5);
  EXPECT_DOUBLE_EQ(tables.mIRBuffer[1199], 0.5);
  EXPECT_DOUBLE_EQ(tables.mIRBuffer[1200], 0.0) << "the unit impulse beyond the block";

  FillCabinetResponse(cache, 70, sources);
  EXPECT_NEAR(tables.mIRBuffer[5], 0.6 * 0.5 + 0.4 * -0.25, 1e-6);
}

TEST_F(IRLibraryTest, CabinetsSevenAndEightFollowTheUserIRModes) {
  SlotCache cache(root, tables);
  StoreFactory(6, 0.125); // cabinet 7 as a factory IR
  std::vector<double> s(kIRBlockSamples, -0.5);
  cache.WriteIRSlot(12, BuildIRBlock(0x8000, PadName("U"), s));

  int value7 = 0; // the first control value that shows cabinet 7 alone
  while (CabinetPositionFor(value7).y != 7.0f) ++value7;

  CabinetSources sources;
  FillCabinetResponse(cache, value7, sources);
  EXPECT_DOUBLE_EQ(tables.mIRBuffer[10], 0.125);

  sources.userIR7Mode = 1;
  sources.userIR7Number = 12;
  FillCabinetResponse(cache, value7, sources);
  EXPECT_DOUBLE_EQ(tables.mIRBuffer[10], -0.5);

  sources.userIR7Number = 13; // no such slot: the impulse stays
  FillCabinetResponse(cache, value7, sources);
  EXPECT_EQ(tables.mIRBuffer[0], 1.0);
  EXPECT_EQ(tables.mIRBuffer[10], 0.0);
}

} // namespace
} // namespace zorel::lib
