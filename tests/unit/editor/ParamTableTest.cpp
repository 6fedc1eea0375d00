#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/ParamTable.h"
#include "protocol/codec/ParamIds.h"

using iplug::IParam;
using namespace zorel;

namespace {

class ParamTable : public ::testing::Test {
protected:
  void SetUp() override {
    DefineAllParameters([this](int i) -> IParam& { return params[static_cast<size_t>(i)]; });
  }
  IParam& P(int i) { return params[static_cast<size_t>(i)]; }
  std::string Text(int i, double v) {
    char out[IParam::kMaxTextLength];
    P(i).FormatValue(v, out, true);
    return out;
  }
  std::vector<IParam> params = std::vector<IParam>(kParamCount);
};

TEST_F(ParamTable, UndefinedRowsKeepTheFreshState) {
  for (int i : {74, 75, 76, 77, 83, 84, 85}) {
    EXPECT_EQ(P(i).Type(), IParam::kParamKindNone) << i;
    EXPECT_STREQ(P(i).Name(), "") << i;
    EXPECT_EQ(P(i).Max(), 1.0) << i;
  }
}

TEST_F(ParamTable, SoundParametersMatchThePedal) {
  struct Row {
    int index;
    const char* name;
    int min, max, def;
    const char* label;
  };
  // A sample across the table, including the repeated and odd names.
  const Row rows[] = {
      {kParamLevel, "Level", 0, 127, 64, ""},
      {kParamReverb, "Reverb", 0, 127, 0, ""},
      {kParamReverbRoomSize, "Reverb Room Size", 0, 127, 64, "[Room...Arena]"},
      {kParamReverbDiffusion, "Reverb Diffusion", 0, 127, 100, ""},
      {kParamReverbExtensionFactor, "Reverb Extension Factor", 2, 5, 2, "[2...5 semitones]"},
      {kParamCompressorRatio, "Compressor Ratio", 0, 127, 0, "[1:1...16:1]"},
      {kParamGateRatio, "Compressor Ratio", 0, 127, 0, "[1:1...16:1]"},
      {kParamUserIR8Mode, "IR Mode", 0, 1, 0, ""},
      {kParamTuner, "Tuner", 0, 2, 0, "Off/Mute/Bypass"},
      {kParamAutoFilterOn, "AutoFiler Level", 0, 1, 0, ""},
      {kParamPresetLevel, "Preset Level", 0, 127, 32, ""},
      {kParamChorusFeedback, "Chorus Level", 0, 127, 64, ""},
      {kParamHighFreq, "High Freq", 0, 127, 64, ""},
  };
  for (const Row& r : rows) {
    const IParam& p = P(r.index);
    EXPECT_STREQ(p.Name(), r.name) << r.index;
    EXPECT_EQ(p.Min(), r.min) << r.index;
    EXPECT_EQ(p.Max(), r.max) << r.index;
    EXPECT_EQ(p.Current(), r.def) << r.index;
    EXPECT_STREQ(p.Label(), r.label) << r.index;
    EXPECT_EQ(p.Type(), IParam::kParamKindInt) << r.index;
    EXPECT_TRUE(p.Stepped()) << r.index;
  }
}

TEST_F(ParamTable, PayloadBytesMapThroughTheRange) {
  IParam& ext = P(kParamReverbExtensionFactor);
  ext.StoreNormalized(PayloadByteToNormalized(ext, 2));
  EXPECT_EQ(ext.Current(), 2.0);
  ext.StoreNormalized(PayloadByteToNormalized(ext, 5));
  EXPECT_EQ(ext.Current(), 5.0);
  ext.StoreNormalized(PayloadByteToNormalized(ext, 1));
  EXPECT_EQ(ext.Current(), 2.0); // clamped
  ext.StoreNormalized(PayloadByteToNormalized(ext, 7));
  EXPECT_EQ(ext.Current(), 5.0);
  EXPECT_EQ(ParamToPayloadByte(ext), 5);
  for (int b = 0; b < 128; ++b) {
    IParam& gain = P(kParamGain);
    gain.StoreNormalized(PayloadByteToNormalized(gain, b));
    ASSERT_EQ(ParamToPayloadByte(gain), b); // every byte survives the round trip
  }
}

TEST_F(ParamTable, EditorSideRanges) {
  EXPECT_EQ(P(kParamCompression).Min(), 64.0);
  EXPECT_EQ(P(kParamCompression).Current(), 64.0);
  EXPECT_EQ(P(kParamScroll).Current(), 109.0);
  EXPECT_EQ(P(kParamMapControllerProgram1).Min(), 1.0);
  EXPECT_EQ(P(kParamMapDeviceProgram1).Max(), 128.0);
  EXPECT_EQ(P(kParamMapDeviceProgram).Max(), 127.0);
  EXPECT_STREQ(P(kParamMapDeviceProgram).Name(), "QVM3 Program");
  EXPECT_EQ(P(kParamPresetListRow).Type(), IParam::kParamKindDouble);
  EXPECT_FALSE(P(kParamPresetListRow).Stepped());
  EXPECT_EQ(P(kParamCustomIRListLeft).Max(), 16.0);
  EXPECT_EQ(P(kParamMidiCCLevel).Current(), 7.0);
  EXPECT_STREQ(P(kParamMidiCCLevel).Name(), "");
}

TEST_F(ParamTable, ChoiceTexts) {
  EXPECT_EQ(Text(kParamTunerFrequency, 12), "440Hz");
  EXPECT_EQ(Text(kParamTunerFrequency, 0), "428Hz");
  EXPECT_EQ(Text(kParamTunerFrequency, 24), "452Hz");
  EXPECT_EQ(P(kParamTunerFrequency).Current(), 12.0);
  EXPECT_EQ(P(kParamMidiCCChannel).Max(), 16.0);
  EXPECT_EQ(Text(kParamMidiCCChannel, 0), "OMNI");
  EXPECT_EQ(Text(kParamMidiCCChannel, 16), "Channel 16");
  EXPECT_EQ(Text(kParamCustomIRBank, 0), "Custom Bank 1");
  EXPECT_EQ(Text(kParamCustomIRBank, 7), "Custom Bank 8");
  EXPECT_EQ(Text(kParamCustomIRBank, 8), "Factory Bank");
  EXPECT_EQ(Text(kParamPatchOffset, 1), "1-128");
  EXPECT_EQ(Text(kParamEditPotDisplayMode, 1), "Numerical Value (0-127)");
  EXPECT_EQ(Text(kParamTunerDetune, 2), "bb");
  EXPECT_EQ(Text(kParamSwitchB1FunctionMode, 6), "Pedal");
  EXPECT_EQ(Text(kParamPedal1MidiChannel, 15), "16");
  EXPECT_EQ(P(kParamPedal1MidiChannel).Max(), 15.0);
  EXPECT_STREQ(P(kParamJack2Polarity).Name(), "JACK2 Mode");
  EXPECT_EQ(Text(kParamJack2Polarity, 1), "Ring");
  EXPECT_EQ(P(kParamSwitch1SpecialCtrlUpper).Type(), IParam::kParamKindInt);
}

TEST(PedalNumbers, SkipSixteenToNineteen) {
  EXPECT_EQ(PedalParameterNumber(15), 15);
  EXPECT_EQ(PedalParameterNumber(16), 20);
  EXPECT_EQ(PedalParameterNumber(73), 77);
}

} // namespace
