// Readout texts at the ends, the centre and in between of every rule, with the
// expected numbers worked out from the rules by hand.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "protocol/codec/ParamIds.h"
#include "ui/readouts/Readouts.h"

using namespace zorel;
using namespace zorel::ui;

namespace {

struct Case {
  int index;
  int value;
  int tag;
  const char* text;
};

const std::vector<Case> kSingleReadouts = {
    {kParamLevel, 0, 50, "0%"},
    {kParamLevel, 1, 50, "1%"},
    {kParamLevel, 63, 50, "50%"},
    {kParamLevel, 127, 50, "100%"},
    {kParamGain, 0, 49, "1"}, // never 0
    {kParamGain, 1, 49, "1"},
    {kParamGain, 2, 49, "2"},
    {kParamGain, 127, 49, "100"},
    {kParamCrunch, 0, 34, "0"},
    {kParamCrunch, 127, 34, "100"},
    {kParamDrive, 0, 48, "1"},
    {kParamDrive, 127, 48, "100"},
    {kParamLow, 0, 36, "-12.0"},
    {kParamLow, 1, 36, "-11.8"},
    {kParamLow, 64, 36, "0.0"}, // the formula alone would give 0.1
    {kParamLow, 65, 36, "0.3"},
    {kParamLow, 127, 36, "12.0"},
    {kParamReverb, 0, 45, "Bypass"},
    {kParamReverb, 1, 45, "1"},
    {kParamReverb, 127, 45, "100"},
    {kParamGate, 0, 20, "Bypass"},
    {kParamGate, 1, 20, "-99.5"}, // t = -99.45, in half-decibel steps
    {kParamGate, 32, 20, "-82.5"},
    {kParamGate, 100, 20, "-45.0"},
    {kParamGate, 126, 20, "-30.5"},
    {kParamGate, 127, 20, "-30.0"},
    {kParamDynamics, 0, 8, "Bypass"},
    {kParamDynamics, 1, 8, "-0.5dB"},
    {kParamDynamics, 50, 8, "-23.5dB"},
    {kParamDynamics, 127, 8, "-60.0dB"},
    {kParamIR, 0, 1, "00"},
    {kParamIR, 10, 1, "06"},
    {kParamIR, 64, 1, "40"},
    {kParamIR, 100, 1, "63"},
    {kParamIR, 127, 1, "80"},
    {kParamReverbRoomSize, 0, 47, "100"},
    {kParamReverbRoomSize, 32, 47, "145"},
    {kParamReverbRoomSize, 64, 47, "250"},
    {kParamReverbRoomSize, 100, 47, "429"},
    {kParamReverbRoomSize, 127, 47, "600"},
    {kParamReverbDecayTime, 0, 46, "0"},
    {kParamReverbDecayTime, 127, 46, "100"},
    {kParamCompressorRatio, 0, 9, "1.0:1"},
    {kParamCompressorRatio, 64, 9, "10.6:1"},
    {kParamCompressorRatio, 100, 9, "16.0:1"},
    {kParamCompressorRatio, 127, 9, "20.0:1"},
    {kParamCompressorOutputGain, 0, 10, "-30.00"},
    {kParamCompressorOutputGain, 1, 10, "-29.53"},
    {kParamCompressorOutputGain, 63, 10, "-0.24"}, // the cut side is steeper
    {kParamCompressorOutputGain, 64, 10, "0.00"},
    {kParamCompressorOutputGain, 65, 10, "0.43"},
    {kParamCompressorOutputGain, 100, 10, "10.35"},
    {kParamCompressorOutputGain, 127, 10, "18.00"},
    {kParamCompressorAttack, 0, 11, "1.0"},
    {kParamCompressorAttack, 32, 11, "2.6"},
    {kParamCompressorAttack, 64, 11, "13.7"},
    {kParamCompressorAttack, 127, 11, "100.0"},
    {kParamCompressorRelease, 0, 12, "10.0"},
    {kParamCompressorRelease, 64, 12, "261.4"},
    {kParamCompressorRelease, 127, 12, "1000.0"},
    {kParamGateRatio, 0, 17, "1.0:1"},
    {kParamGateRatio, 32, 17, "3.3:1"},
    {kParamGateRatio, 127, 17, "10.0:1"},
    {kParamGateRelease, 0, 19, "10.0"},
    {kParamGateRelease, 100, 19, "623.8"},
    {kParamGateRelease, 127, 19, "1000.0"},
    {kParamUserIR7Gain, 0, 27, "-12.00"},
    {kParamUserIR7Gain, 1, 27, "-11.81"},
    {kParamUserIR7Gain, 64, 27, "0.00"},
    {kParamUserIR7Gain, 100, 27, "6.90"},
    {kParamUserIR7Gain, 127, 27, "12.00"},
    {kParamUserIR8Gain, 0, 28, "-12.00"},
    {kParamUserIR8Gain, 64, 28, "0.00"},
    {kParamUserIR8Gain, 127, 28, "12.00"},
    {kParamLowQ, 0, 37, "0.5"},
    {kParamLowQ, 32, 37, "0.7"},
    {kParamLowQ, 64, 37, "1.0"},
    {kParamLowQ, 100, 37, "1.5"},
    {kParamLowQ, 127, 37, "2.0"},
    {kParamAutoFilterLevel, 0, 51, "-100"},
    {kParamAutoFilterLevel, 1, 51, "-99"},
    {kParamAutoFilterLevel, 63, 51, "-1"}, // rounded down
    {kParamAutoFilterLevel, 64, 51, "Bypass"},
    {kParamAutoFilterLevel, 65, 51, "2"},
    {kParamAutoFilterLevel, 126, 51, "98"},
    {kParamAutoFilterLevel, 127, 51, "100"},
    {kParamAutoFilterAttack, 0, 52, "0"},
    {kParamAutoFilterAttack, 127, 52, "100"},
    {kParamAutoFilterRelease, 0, 53, "0"},
    {kParamAutoFilterRelease, 127, 53, "100"},
    {kParamChorusLevel, 0, 97, "Bypass"},
    {kParamChorusLevel, 1, 97, "1%"},
    {kParamChorusLevel, 127, 97, "100%"},
    {kParamChorusModFreq, 0, 98, "0.00"},
    {kParamChorusModFreq, 32, 98, "0.38"},
    {kParamChorusModFreq, 100, 98, "3.72"},
    {kParamChorusModFreq, 127, 98, "6.00"},
    {kParamChorusModDepth, 0, 99, "0"},
    {kParamChorusModDepth, 127, 99, "100"},
    {kParamChorusDelaySize, 0, 100, "0"},
    {kParamChorusDelaySize, 127, 100, "100"},
    {kParamChorusFeedback, 0, 101, "-100"},
    {kParamChorusFeedback, 63, 101, "-1"},
    {kParamChorusFeedback, 64, 101, "0"}, // no Bypass here
    {kParamChorusFeedback, 127, 101, "100"},
    {kParamLowFreq, 0, 38, "40"},
    {kParamLowFreq, 63, 38, "119"},
    {kParamLowFreq, 64, 38, "120"}, // the formula alone would give 121
    {kParamLowFreq, 100, 38, "166"},
    {kParamLowFreq, 127, 38, "200"},
};

TEST(Readouts, SingleParametersShowTheirValueInEngineeringUnits) {
  for (const Case& c : kSingleReadouts) {
    const std::vector<ReadoutText> got = FormatReadout(c.index, c.value);
    ASSERT_EQ(got.size(), 1u) << c.index << " at " << c.value;
    EXPECT_EQ(got[0], (ReadoutText{c.tag, c.text})) << c.index << " at " << c.value;
  }
}

TEST(Readouts, AnalogSimulationShowsAmountAndDirection) {
  const struct {
    int value;
    const char* amount;
    const char* label;
  } cases[] = {
      {0, "100", "DIGITAL SMOOTH"}, {1, "98", "DIGITAL SMOOTH"},   {30, "53", "DIGITAL SMOOTH"},
      {63, "2", "DIGITAL SMOOTH"},  {64, "Bypass", "SMOOTHING"},   {65, "2", "ANALOG SMOOTH"},
      {100, "57", "ANALOG SMOOTH"}, {127, "100", "ANALOG SMOOTH"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatReadout(kParamAnalogSim, c.value),
              (std::vector<ReadoutText>{{21, c.amount}, {22, c.label}}))
        << c.value;
    EXPECT_EQ(FormatReadoutForTag(22, kParamAnalogSim, c.value), c.label);
  }
  EXPECT_EQ(FormatReadoutForTag(50, kParamAnalogSim, 0), "");
}

TEST(Readouts, ParametersWithoutAReadoutOfTheirOwnGiveNothing) {
  for (int index :
       {int(kParamBuzz), int(kParamPunch), int(kParamHigh), int(kParamPunchFreq), int(kParamMid),
        int(kParamMidShift), int(kParamExpanderRatio), int(kParamPunchQ), int(kParamMidQ),
        int(kParamHighQ), int(kParamHighFreq), int(kParamScroll), -1, 151, 100000})
    EXPECT_TRUE(FormatReadout(index, 64).empty()) << index;
}

TEST(Readouts, ValuesOutsideTheSevenBitRangeShowAsTheNearestEnd) {
  for (int index = 0; index < 74; ++index) {
    EXPECT_EQ(FormatReadout(index, -1), FormatReadout(index, 0)) << index;
    EXPECT_EQ(FormatReadout(index, 1000), FormatReadout(index, 127)) << index;
  }
  EXPECT_EQ(FormatPunchReadouts(-5, 300, -1), FormatPunchReadouts(0, 127, 0));
}

// Every text of every value: a number that rounds to zero carries no sign,
// and nothing shows "nan" or "inf".
TEST(Readouts, NoTextShowsANegativeZeroOrANonNumber) {
  auto check = [](const ReadoutText& r, const std::string& where) {
    EXPECT_FALSE(r.text.empty()) << where;
    EXPECT_EQ(r.text.find("nan"), std::string::npos) << where;
    EXPECT_EQ(r.text.find("inf"), std::string::npos) << where;
    const size_t end = r.text.find_first_not_of("-0.");
    const std::string number = r.text.substr(0, end);
    EXPECT_FALSE(number.size() > 1 && number[0] == '-' &&
                 number.find_first_not_of("-0.") == std::string::npos &&
                 (end == std::string::npos || !std::isdigit(r.text[end])))
        << where << ": " << r.text;
  };
  for (int index = 0; index < 74; ++index)
    for (int u = 0; u < 128; ++u)
      for (const ReadoutText& r : FormatReadout(index, u))
        check(r, std::to_string(index) + " at " + std::to_string(u));
  for (int g = 0; g < 128; ++g)
    for (int v = 0; v < 128; v += 7) {
      const std::string where = "band " + std::to_string(g) + "/" + std::to_string(v);
      for (const auto& band :
           {FormatPunchReadouts(g, v, v), FormatMidReadouts(g, v, v), FormatHighReadouts(g, v, v)})
        for (const ReadoutText& r : band) check(r, where);
    }
}

struct BandCase {
  int gain, frequency, quality;
  const char* gainText;
  const char* frequencyText;
  const char* qualityText;
};

TEST(Readouts, PunchBandQualityDependsOnWhetherItBoostsOrCuts) {
  const BandCase cases[] = {
      {64, 64, 64, "0.0", "500", "0.6"},
      {0, 0, 64, "-24.0", "200", "0.6"},
      {127, 127, 127, "24.0", "2000", "2.6"}, // boost: 2^2 x 0.644
      {63, 127, 127, "0.0", "2000", "10.3"},  // cut: 2^4 x 0.644; t = -0.19 shows as 0.0
      {64, 127, 127, "0.0", "2000", "2.6"},
      {32, 32, 0, "-12.0", "351", "0.0"},   // 2^-4 x 0.644 = 0.04
      {100, 100, 0, "14.0", "1362", "0.2"}, // 2^-2 x 0.644 = 0.16
  };
  for (const BandCase& c : cases) {
    const BandReadouts r = FormatPunchReadouts(c.gain, c.frequency, c.quality);
    EXPECT_EQ(r[0], (ReadoutText{31, c.gainText})) << c.gain;
    EXPECT_EQ(r[1], (ReadoutText{33, c.frequencyText})) << c.frequency;
    EXPECT_EQ(r[2], (ReadoutText{32, c.qualityText})) << c.gain << "/" << c.quality;
  }
}

TEST(Readouts, MidBandFrequencySwitchesToKilohertzAtOneThousand) {
  const BandCase cases[] = {
      {64, 64, 64, "0.0", "500", "1.0"},       {0, 0, 0, "-12.0", "200", "0.5"},
      {127, 127, 127, "12.0", "2.00k", "2.0"}, {63, 32, 64, "-0.1", "350", "1.0"},
      {64, 84, 64, "0.0", "980", "1.0"},   // 984 Hz in steps of 10
      {64, 85, 64, "0.0", "1.00k", "1.0"}, // 1008 Hz in steps of 20
      {64, 100, 64, "0.0", "1.36k", "1.0"},
  };
  for (const BandCase& c : cases) {
    const BandReadouts r = FormatMidReadouts(c.gain, c.frequency, c.quality);
    EXPECT_EQ(r[0], (ReadoutText{39, c.gainText})) << c.gain;
    EXPECT_EQ(r[1], (ReadoutText{41, c.frequencyText})) << c.frequency;
    EXPECT_EQ(r[2], (ReadoutText{40, c.qualityText})) << c.quality;
  }
}

TEST(Readouts, HighBandQualityWidensWhenItCuts) {
  const BandCase cases[] = {
      {64, 64, 64, "0.0", "4.5k", "0.7"},     {0, 0, 64, "-12.0", "1.0k", "0.7"},
      {127, 127, 127, "12.0", "8.0k", "1.4"}, {0, 127, 127, "-12.0", "8.0k", "5.6"},
      {127, 32, 32, "12.0", "2.8k", "0.5"},   {0, 32, 32, "-12.0", "2.8k", "0.2"},
      {0, 0, 0, "-12.0", "1.0k", "0.1"},
  };
  for (const BandCase& c : cases) {
    const BandReadouts r = FormatHighReadouts(c.gain, c.frequency, c.quality);
    EXPECT_EQ(r[0], (ReadoutText{42, c.gainText})) << c.gain;
    EXPECT_EQ(r[1], (ReadoutText{44, c.frequencyText})) << c.frequency;
    EXPECT_EQ(r[2], (ReadoutText{43, c.qualityText})) << c.gain << "/" << c.quality;
  }
}

} // namespace
