#include <gtest/gtest.h>

#include <array>

#include "app/cli/ParamValueText.h"
#include "editor/ParamTable.h"
#include "protocol/codec/ParamIds.h"

using namespace zorel;
using zorel::cli::ParseParamValue;

namespace {

// The editor's own parameters, as `set` meets them.
class ParamValues : public ::testing::Test {
protected:
  void SetUp() override {
    DefineAllParameters([this](int i) -> iplug::IParam& { return params[static_cast<size_t>(i)]; });
  }
  const iplug::IParam& P(int index) const { return params[static_cast<size_t>(index)]; }
  std::array<iplug::IParam, kParamCount> params;
};

struct Accepted {
  int param;
  const char* text;
  double value;
};

TEST_F(ParamValues, ShownTextsAndShownNumbersAreAccepted) {
  const Accepted cases[] = {
      {kParamTunerFrequency, "441Hz", 13},
      {kParamTunerFrequency, "441", 13}, // the number shown, not the value behind it
      {kParamTunerFrequency, "441 hz", 13},
      {kParamTunerFrequency, "428Hz", 0},
      {kParamTunerFrequency, "452", 24},
      {kParamPatchOffset, "1-128", 1},
      {kParamPatchOffset, "0-127", 0},
      {kParamPatchOffset, "1", 1}, // words only: a number is the value itself
      {kParamMidiCCChannel, "OMNI", 0},
      {kParamMidiCCChannel, "omni", 0},
      {kParamMidiCCChannel, "Channel 5", 5},
      {kParamMidiCCChannel, "5", 5},
      {kParamDefineMidiMapping, "Enabled", 1},
      {kParamDefineMidiMapping, "0", 0},
      {kParamEditPotDisplayMode, "Numerical Value (0-127)", 1},
      {kParamTunerDetune, "bb", 2},
      {kParamTunerDetune, "b", 1},
      {kParamPedal1MidiChannel, "16", 15}, // shown "1".."16"
      {kParamCustomIRBank, "Factory Bank", 8},
      {kParamCustomIRBank, "3", 2}, // "Custom Bank 3"
      {kParamGain, "100", 100},
      {kParamGain, " 0 ", 0},
      {kParamGain, "1e2", 100},
      {kParamReverbExtensionFactor, "5", 5},
      {kParamMapControllerProgram1, "128", 128},
  };
  for (const Accepted& c : cases) {
    std::string error;
    const auto value = ParseParamValue(P(c.param), c.text, error);
    ASSERT_TRUE(value) << c.param << " \"" << c.text << "\": " << error;
    EXPECT_EQ(*value, c.value) << c.param << " \"" << c.text << "\"";
  }
}

struct Refused {
  int param;
  const char* text;
  const char* says;
};

TEST_F(ParamValues, AnythingElseIsRefusedNamingTheRangeOrTheNearestValues) {
  const Refused cases[] = {
      {kParamTunerFrequency, "453", "453 is outside the range of TUNER FREQUENCY: 428Hz..452Hz"},
      {kParamTunerFrequency, "13", "outside the range of TUNER FREQUENCY: 428Hz..452Hz"},
      {kParamTunerFrequency, "441.5", "the nearest are 441Hz and 442Hz"},
      {kParamTunerFrequency, "loud", "\"loud\" is not a value of TUNER FREQUENCY"},
      {kParamPatchOffset, "2", "outside the range of PATCH OFFSET: 0-127, 1-128 (or 0..1)"},
      {kParamMidiCCChannel, "17", "outside the range of MIDI CC CHANNEL: OMNI..Channel 16"},
      {kParamDefineMidiMapping, "0.5", "the nearest are Disabled and Enabled"},
      {kParamDefineMidiMapping, "maybe", "takes Disabled, Enabled (or 0..1)"},
      {kParamPedal1MidiChannel, "0", "outside the range of PEDAL1 Midi Channel: 1..16"},
      {kParamCustomIRBank, "9", "outside the range"},
      {kParamGain, "128", "128 is outside the range of Gain: 0..127"},
      {kParamGain, "-1", "outside the range of Gain: 0..127"},
      {kParamGain, "64.5", "the nearest are 64 and 65"},
      {kParamGain, "", "no value given"},
      {kParamGain, "0x10", "is not a value of Gain"},
      {kParamGain, "nan", "is not a value of Gain"},
      {kParamGain, "inf", "is not a value of Gain"},
      {kParamReverbExtensionFactor, "1",
       "outside the range of Reverb Extension Factor: 2, 3, 4, 5"},
      {kParamMapControllerProgram1, "0", "outside the range of Controller Program: 1..128"},
  };
  for (const Refused& c : cases) {
    std::string error;
    EXPECT_FALSE(ParseParamValue(P(c.param), c.text, error)) << c.param << " \"" << c.text << "\"";
    EXPECT_NE(error.find(c.says), std::string::npos)
        << c.param << " \"" << c.text << "\": " << error;
  }
}

} // namespace
