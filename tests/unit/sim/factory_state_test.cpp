// Factory content, and the state file that carries a pedal between runs.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>

#include "sim/FactoryContent.h"
#include "sim/StateFile.h"

namespace zorel::sim::test {
namespace {

TEST(FactoryContent, ProgramsAreNamedAndInRange) {
  const PedalState state = MakeFactoryState();
  std::set<std::string> names;
  for (const auto& p : state.presets) {
    const std::string name(p.begin() + 2, p.begin() + 34);
    EXPECT_NE(name, std::string(32, ' '));
    names.insert(name);
    EXPECT_EQ(p[0], 1);
    EXPECT_EQ(p[1], 0);
    for (int i = 0; i < 74; ++i) {
      const SoundParamRange range = SoundParamRangeOf(i);
      EXPECT_GE(p[34 + i], range.min) << i;
      EXPECT_LE(p[34 + i], range.max) << i;
    }
    for (size_t d = 108; d < 192; ++d) EXPECT_EQ(p[d], 0);
    for (uint8_t b : p) EXPECT_LT(b, 0x80);
  }
  EXPECT_EQ(names.size(), 128u);
  EXPECT_EQ(state.editBuffer, state.presets[0]);
  EXPECT_EQ(state.serial.size(), 32u);
}

TEST(FactoryContent, ParameterTableRows) {
  EXPECT_EQ(SoundParamRangeOf(19).min, 2);
  EXPECT_EQ(SoundParamRangeOf(19).max, 5);
  EXPECT_EQ(SoundParamRangeOf(19).defaultValue, 2);
  EXPECT_EQ(SoundParamRangeOf(18).defaultValue, 100);
  EXPECT_EQ(SoundParamRangeOf(50).defaultValue, 1);
  EXPECT_EQ(SoundParamRangeOf(52).max, 2);
  EXPECT_EQ(SoundParamRangeOf(57).max, 4);
  EXPECT_EQ(SoundParamRangeOf(64).defaultValue, 32);
  EXPECT_EQ(SoundParamRangeOf(71).defaultValue, 127);
  EXPECT_EQ(SoundParamRangeOf(73).defaultValue, 64);
}

TEST(FactoryContent, ProgramsUseExistingIRsUnderTheirNames) {
  const PedalState state = MakeFactoryState();
  int withIR = 0;
  for (size_t slot = 0; slot < 128; ++slot) {
    const auto& p = state.presets[slot];
    if (p[34 + 40]) {
      ++withIR;
      const int number = p[34 + 53] * 128 + p[34 + 54];
      EXPECT_EQ(number, static_cast<int>(slot)) << "IR 7 uses user IR n";
      EXPECT_FALSE(IRBlockIsEmpty(state.userIRs[static_cast<size_t>(number)]));
      EXPECT_EQ(std::string(p.begin() + 192, p.begin() + 224),
                IRBlockName(state.userIRs[static_cast<size_t>(number)]));
    } else {
      EXPECT_EQ(std::string(p.begin() + 192, p.begin() + 224), std::string(32, ' '));
    }
    if (p[34 + 41]) {
      EXPECT_EQ(p[34 + 55] * 128 + p[34 + 56], 128 + static_cast<int>(slot));
    }
  }
  EXPECT_GT(withIR, 0);
  int empty = 0;
  for (const auto& ir : state.userIRs) empty += IRBlockIsEmpty(ir) ? 1 : 0;
  EXPECT_GT(empty, 200);
  EXPECT_LT(empty, 256);
  const char* cabinets[] = {"Movrant",    "Lidtop",    "QS 8x10",  "Coast 2x15",
                            "Stage 2x15", "Bolt 4x10", "Tone 12L", "Isle V30"};
  for (size_t i = 0; i < 8; ++i) {
    const std::string name = IRBlockName(state.factoryIRs[i]);
    EXPECT_EQ(name.substr(0, std::string(cabinets[i]).size()), cabinets[i]);
    EXPECT_EQ(state.factoryIRs[i][0], 1) << "format word 1, little-endian";
    EXPECT_EQ(state.factoryIRs[i][1], 0);
  }
}

TEST(FactoryContent, IRBlockLayout) {
  // Silence: the level factor is clamped to 1.0, stored as 0x8000.
  const IRBlock silent = EmptyIRBlock();
  EXPECT_EQ(silent[2], 0x00);
  EXPECT_EQ(silent[3], 0x80);
  // 1200 samples whose squares sum to 4.0: g = 1.2 / (2 x sqrt 2) = 0.4243,
  // gain word 13902.
  const std::vector<double> even(1200, std::sqrt(4.0 / 1200.0));
  const IRBlock levelled = BuildIRBlock("Big Room", even);
  EXPECT_EQ(levelled[2] | levelled[3] << 8, 13902);
  EXPECT_EQ(std::string(levelled.begin() + 4, levelled.begin() + 36),
            "Big Room" + std::string(24, ' '));
  // Samples are trunc(x x 32768), 16-bit little-endian; missing ones are 0.
  const std::vector<double> two = {-0.5, 0.25};
  const IRBlock block = BuildIRBlock("x", two);
  EXPECT_EQ(block[3], 0x80) << "g clamped to 1.0";
  EXPECT_EQ(block[36], 0x00);
  EXPECT_EQ(block[37], 0xC0);
  EXPECT_EQ(block[38], 0x00);
  EXPECT_EQ(block[39], 0x20);
  EXPECT_EQ(block[40], 0x00);
  EXPECT_EQ(block[2435], 0x00);
}

TEST(StateFile, RoundTripKeepsEverything) {
  PedalState state = MakeFactoryState();
  state.presets[5][2] = 'W';
  state.currentProgram = 77;
  state.filterOn = true;
  state.userIRs[250][1000] = 0xFF;
  state.programMap[3] = 9;
  std::string error;
  const auto decoded = DecodeState(EncodeState(state), error);
  ASSERT_TRUE(decoded) << error;
  EXPECT_TRUE(*decoded == state);
}

TEST(StateFile, DamagedFilesAreRefused) {
  const std::vector<uint8_t> good = EncodeState(MakeFactoryState());
  std::string error;
  auto flipped = good;
  flipped[5000] ^= 0x01;
  EXPECT_FALSE(DecodeState(flipped, error));
  EXPECT_NE(error.find("damaged"), std::string::npos);
  EXPECT_FALSE(DecodeState(std::span(good).first(good.size() - 1), error));
  auto foreign = good;
  foreign[0] = 'X';
  EXPECT_FALSE(DecodeState(foreign, error));

  // A preset byte of 0x80 cannot travel in SysEx: refused even with a valid hash.
  PedalState state = MakeFactoryState();
  state.presets[0][40] = 0x80;
  EXPECT_FALSE(DecodeState(EncodeState(state), error));
  state = MakeFactoryState();
  state.currentProgram = 128;
  EXPECT_FALSE(DecodeState(EncodeState(state), error));
}

TEST(StateFile, SaveAndLoadThroughTheFileSystem) {
  const std::string path = ::testing::TempDir() + "zorel_sim_state_test.bin";
  std::remove(path.c_str());
  std::string error;
  bool missing = false;
  EXPECT_FALSE(LoadStateFile(path, error, missing));
  EXPECT_TRUE(missing);

  PedalState state = MakeFactoryState();
  state.serial = std::string(32, 'K');
  ASSERT_TRUE(SaveStateFile(path, state, error)) << error;
  const auto loaded = LoadStateFile(path, error, missing);
  ASSERT_TRUE(loaded) << error;
  EXPECT_TRUE(*loaded == state);

  { std::ofstream(path, std::ios::binary | std::ios::trunc) << "junk"; }
  EXPECT_FALSE(LoadStateFile(path, error, missing));
  EXPECT_FALSE(missing);
  std::remove(path.c_str());
  EXPECT_FALSE(SaveStateFile("/nonexistent-dir/x/state.bin", state, error));
}

} // namespace
} // namespace zorel::sim::test
