#include "editor/ParamTable.h"

#include <cstdio>

#include "protocol/codec/ParamIds.h"

namespace zorel {

using iplug::IParam;

namespace {

struct SoundParamRow {
  int index;
  const char* name;
  int min;
  int max;
  int defaultValue;
  const char* label;
};

// The sound parameters of a preset, all integers; the display names are the
// pedal's own, repeats included ("Chorus Level" five times).
constexpr SoundParamRow kSoundParams[kNumPresetParams] = {
    {kParamLevel, "Level", 0, 127, 64, ""},
    {kParamGain, "Gain", 0, 127, 64, ""},
    {kParamBuzz, "Buzz", 0, 127, 64, ""},
    {kParamPunch, "Punch", 0, 127, 64, ""},
    {kParamCrunch, "Crunch", 0, 127, 64, ""},
    {kParamDrive, "Drive", 0, 127, 64, ""},
    {kParamLow, "Low", 0, 127, 64, ""},
    {kParamHigh, "High", 0, 127, 64, ""},
    {kParamReverb, "Reverb", 0, 127, 0, ""},
    {kParamGate, "Gate", 0, 127, 0, ""},
    {kParamDynamics, "Dynamics", 0, 127, 64, ""},
    {kParamPunchFreq, "Punch Freq", 0, 127, 64, ""},
    {kParamMid, "Mid", 0, 127, 64, ""},
    {kParamMidShift, "Mid Shift", 0, 127, 64, ""},
    {kParamIR, "IR", 0, 127, 0, ""},
    {kParamAnalogSim, "AnalogSim", 0, 127, 64, ""},
    {kParamReverbRoomSize, "Reverb Room Size", 0, 127, 64, "[Room...Arena]"},
    {kParamReverbDecayTime, "Reverb Decay Time", 0, 127, 64, ""},
    {kParamReverbDiffusion, "Reverb Diffusion", 0, 127, 100, ""},
    {kParamReverbExtensionFactor, "Reverb Extension Factor", 2, 5, 2, "[2...5 semitones]"},
    {kParamReverbFbkDelaySize, "Reverb Fbk. Delay Size", 0, 127, 64, ""},
    {kParamReverbFbkFilter, "Reverb Fbk. Filter", 0, 127, 127, "[500...5000Hz]"},
    {kParamReverbFbkDamperFactor, "Reverb Fbk. Damper Factor", 0, 127, 0, ""},
    {kParamReverbLPFilter, "Reverb LP Filter", 0, 127, 127, "[500...5000Hz]"},
    {kParamReverbHPFilter, "Reverb HP Filter", 0, 127, 0, "[20...2000Hz]"},
    {kParamCompressorRatio, "Compressor Ratio", 0, 127, 0, "[1:1...16:1]"},
    {kParamCompressorOutputGain, "Compressor Output Gain", 0, 127, 64, "[-30dB...18dB]"},
    {kParamCompressorAttack, "Compressor Attack", 0, 127, 64, "[0ms...100ms]"},
    {kParamCompressorRelease, "Compressor Release", 0, 127, 64, "[50ms...5000ms]"},
    {kParamExpanderRatio, "Expander Ratio", 0, 127, 0, "[1:1...1:16]"},
    {kParamExpanderOutputGain, "Expander Output Gain", 0, 127, 64, "[-30dB...18dB]"},
    {kParamExpanderAttack, "Expander Attack", 0, 127, 64, "[0.5ms...100ms]"},
    {kParamExpanderRelease, "Expander Release", 0, 127, 64, "[50ms...5000ms]"},
    {kParamSoftClipping, "Soft Clipping", 0, 127, 127, ""},
    {kParamAnalogSimGain, "AnalogSim Gain", 0, 127, 127, "[0...1x]"},
    {kParamAntiAliasingFilter, "Anti-aliasing Filter", 0, 127, 127, ""},
    {kParamCleanInputLevel, "Clean Input Level", 0, 127, 127, ""},
    {kParamGateRatio, "Compressor Ratio", 0, 127, 0, "[1:1...16:1]"},
    {kParamGateAttack, "Gate Attack", 0, 127, 0, ""},
    {kParamGateRelease, "Gate Release", 0, 127, 64, ""},
    {kParamUserIR7Mode, "IR Mode", 0, 1, 0, ""},
    {kParamUserIR8Mode, "IR Mode", 0, 1, 0, ""},
    {kParamUserIR7Gain, "User IR Gain", 0, 127, 64, ""},
    {kParamUserIR8Gain, "User IR Gain", 0, 127, 64, ""},
    {kParamBuzzQ, "Buzz Q", 0, 127, 64, ""},
    {kParamPunchQ, "Punch Q", 0, 127, 64, ""},
    {kParamCrunchQ, "Crunch Q", 0, 127, 64, ""},
    {kParamMidQ, "Mid Q", 0, 127, 64, ""},
    {kParamLowQ, "Low Q", 0, 127, 64, ""},
    {kParamHighQ, "High Q", 0, 127, 64, ""},
    {kParamAutoGain, "Auto Gain", 0, 1, 1, "On/Off"},
    {kParamLookahead, "Lookahead", 0, 1, 0, "On/Off"},
    {kParamTuner, "Tuner", 0, 2, 0, "Off/Mute/Bypass"},
    {kParamUserIR7PresetMSB, "User IR7 Preset MSB", 0, 127, 0, ""},
    {kParamUserIR7Preset, "User IR7 Preset", 0, 127, 0, ""},
    {kParamUserIR8PresetMSB, "User IR8 Preset MSB", 0, 127, 0, ""},
    {kParamUserIR8Preset, "User IR8 Preset", 0, 127, 0, ""},
    {kParamReverbMode, "Reverb Mode", 0, 4, 0, "[Room, Hall, Arena, Spring, Plate]"},
    {kParamReverbModulationDepth, "Reverb Modulation Depth", 0, 127, 0, ""},
    {kParamReverbModulationRate, "Reverb Modulation Rate", 0, 127, 0, "[0...5Hz]"},
    {kParamAutoFilterOn, "AutoFiler Level", 0, 1, 0, ""},
    {kParamAutoFilterLevel, "AutoFiler Level", 0, 127, 64, ""},
    {kParamAutoFilterAttack, "AF. Attack", 0, 127, 64, ""},
    {kParamAutoFilterRelease, "AF. Release", 0, 127, 64, ""},
    {kParamPresetLevel, "Preset Level", 0, 127, 32, ""},
    {kParamChorusOn, "Chorus On", 0, 1, 0, ""},
    {kParamChorusLevel, "Chorus Level", 0, 127, 0, ""},
    {kParamChorusModFreq, "Chorus Level", 0, 127, 0, ""},
    {kParamChorusModDepth, "Chorus Level", 0, 127, 0, ""},
    {kParamChorusDelaySize, "Chorus Level", 0, 127, 0, ""},
    {kParamChorusFeedback, "Chorus Level", 0, 127, 64, ""},
    {kParamBlendLevel, "Blend Level", 0, 127, 127, ""},
    {kParamLowFreq, "Low Freq", 0, 127, 64, ""},
    {kParamHighFreq, "High Freq", 0, 127, 64, ""},
};

struct NamedInteger {
  int index;
  const char* name;
  int min;
  int max;
  int defaultValue;
};

constexpr NamedInteger kEditorIntegers[] = {
    {kParamCompression, "Compression", 64, 127, 64},
    {kParamScroll, "Scroll", 0, 109, 109},
    {kParamIR2, "IR", 0, 127, 0},
    {kParamMidiCCDrive, "", 0, 127, 0},
    {kParamMidiCCLow, "", 0, 127, 1},
    {kParamMidiCCMid, "", 0, 127, 2},
    {kParamMidiCCHigh, "", 0, 127, 3},
    {kParamMidiCCReverb, "", 0, 127, 4},
    {kParamMidiCCGate, "", 0, 127, 5},
    {kParamMidiCCFilter, "", 0, 127, 6},
    {kParamMidiCCLevel, "", 0, 127, 7},
    {kParamMapControllerProgram, "Controller Program", 0, 127, 0},
    {kParamMapDeviceProgram, "QVM3 Program", 0, 127, 0},
    {kParamMapControllerProgram1, "Controller Program", 1, 128, 1},
    {kParamMapDeviceProgram1, "QVM3 Program", 1, 128, 1},
};

// Rows clicked in the lists: continuous, unstepped, step 1.
constexpr NamedInteger kListRows[] = {
    {kParamPresetListRow, "", 0, 19, 0},
    {kParamIRListRow, "", 0, 9, 0},
    {kParamCustomIRListLeft, "", 0, 16, 0},
    {kParamCustomIRListRight, "", 0, 16, 0},
};

void DefineChoiceTexts(IParam& param, const char* name, std::initializer_list<const char*> texts) {
  param.DefineChoice(name, 0, static_cast<int>(texts.size()), "", 0, "", texts);
}

// Choices whose texts are formatted from the value: defined with no texts,
// then one AddValueText per value.
void DefineFormattedChoice(IParam& param, const char* name, int defaultValue, int count,
                           const char* format, int offset, const char* firstText = nullptr) {
  param.DefineChoice(name, defaultValue, count, "", 0, "", nullptr);
  for (int v = 0; v < count; ++v) {
    char text[IParam::kMaxTextLength];
    if (v == 0 && firstText != nullptr) {
      std::snprintf(text, sizeof text, "%s", firstText);
    } else {
      std::snprintf(text, sizeof text, format, v + offset);
    }
    param.AddValueText(v, text);
  }
}

void DefineSoundParameters(const ParamAccessor& p) {
  for (const SoundParamRow& row : kSoundParams) {
    p(row.index).DefineInteger(row.name, row.defaultValue, row.min, row.max, row.label);
  }
}

void DefineSurfaceParameters(const ParamAccessor& p) {
  for (const NamedInteger& row : kEditorIntegers) {
    p(row.index).DefineInteger(row.name, row.defaultValue, row.min, row.max);
  }
  for (const NamedInteger& row : kListRows) {
    p(row.index).DefineContinuous(row.name, row.defaultValue, row.min, row.max, 1.0);
  }
  // Eight banks of 32 user IRs, then the factory IRs.
  IParam& bank = p(kParamCustomIRBank);
  bank.DefineChoice("Custom IR Bank", 0, 9, "", 0, "", nullptr);
  for (int v = 0; v < 8; ++v) {
    char text[IParam::kMaxTextLength];
    std::snprintf(text, sizeof text, "Custom Bank %d", v + 1);
    bank.AddValueText(v, text);
  }
  bank.AddValueText(8, "Factory Bank");
}

void DefineGlobalSettings(const ParamAccessor& p) {
  auto yesNo = [&](int index, const char* name, const char* off, const char* on) {
    p(index).DefineChoice(name, 0, 2, "", 0, "", nullptr);
    p(index).AddValueText(0, off);
    p(index).AddValueText(1, on);
  };
  yesNo(kParamDefineMidiMapping, "DEFINE MIDI MAPPING", "Disabled", "Enabled");
  yesNo(kParamMidiThruMode, "MIDI THRU MODE", "Disabled", "Enabled");
  yesNo(kParamPatchOffset, "PATCH OFFSET", "0-127", "1-128");
  yesNo(kParamMidiCCMode, "MIDI CC MODE", "Disabled", "Enabled");
  DefineFormattedChoice(p(kParamMidiCCChannel), "MIDI CC CHANNEL", 0, 17, "Channel %d", 0, "OMNI");
  yesNo(kParamEditPotDisplayMode, "EDIT POT DISPLAY MODE", "Digits", "Numerical Value (0-127)");
  yesNo(kParamDisengageAllPots, "DISENGAGE ALL POTS", "All pots engaged", "All pots disengaged");
  DefineFormattedChoice(p(kParamTunerFrequency), "TUNER FREQUENCY", 12, 25, "%dHz", 428);
  yesNo(kParamPresetProtectionWriter, "PRESET PROTECTION WRITER", "Off", "On");
  p(kParamTunerDetune).DefineChoice("TUNER DETUNE", 0, 3, "", 0, "", nullptr);
  p(kParamTunerDetune).AddValueText(0, "Disabled");
  p(kParamTunerDetune).AddValueText(1, "b");
  p(kParamTunerDetune).AddValueText(2, "bb");
  yesNo(kParamCabinetBypass, "CABINET BYPASS", "Off", "On");
  yesNo(kParamSafeLevel, "SAFE LEVEL", "Off", "On");
}

constexpr std::initializer_list<const char*> kChannelList = {
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16"};
constexpr std::initializer_list<const char*> kPedalModes = {"Control", "Aftertouch", "Bend"};
constexpr std::initializer_list<const char*> kSwitchOperations = {"Momentary", "Latching"};
constexpr std::initializer_list<const char*> kSwitchFunctions = {
    "Control", "Note On/Off", "Start", "Stop", "Program Change", "Special Control", "Pedal"};

void DefineJackSetup(const ParamAccessor& p) {
  DefineChoiceTexts(p(kParamJack2Mode), "JACK2 Mode", {"Pedal", "Switches"});
  DefineChoiceTexts(p(kParamJack2Polarity), "JACK2 Mode", {"Tip", "Ring"});
  DefineChoiceTexts(p(kParamJack1Mode), "JACK 1 Mode", {"Pedal", "Switches"});
  DefineChoiceTexts(p(kParamJack1Polarity), "JACK 1 Polarity", {"Tip", "Ring"});
  DefineChoiceTexts(p(kParamPedal2MidiChannel), "PEDAL2 Midi Channel", kChannelList);
  DefineChoiceTexts(p(kParamPedal2Mode), "PEDAL2 Mode", kPedalModes);
  p(kParamPedal2Controller).DefineInteger("PEDAL2 Controller", 0, 0, 127);
  p(kParamPedal2OutMinimum).DefineInteger("PEDAL2 Out Minimum", 0, 0, 127);
  p(kParamPedal2OutMaximum).DefineInteger("PEDAL2 Out Maximum", 0, 0, 127);
  p(kParamPedal2CalibrationLowEnd).DefineInteger("PEDAL2 Calibration Low End", 0, 0, 127);
  p(kParamPedal2CalibrationHighEnd).DefineInteger("PEDAL2 Calibration High End", 0, 0, 127);
  DefineChoiceTexts(p(kParamSwitchA2MidiChannel), "SWITCHA2 Midi Channel", kChannelList);
  DefineChoiceTexts(p(kParamSwitchA2Operation), "SWITCHA2 Operation", kSwitchOperations);
  DefineChoiceTexts(p(kParamSwitchA2FunctionMode), "SWITCHA2 Function Mode", kSwitchFunctions);
  p(kParamSwitchA2Controller).DefineInteger("SWITCHA2 Controller", 0, 0, 127);
  DefineChoiceTexts(p(kParamSwitchB2MidiChannel), "SWITCHB2 Midi Channel", kChannelList);
  DefineChoiceTexts(p(kParamSwitchB2Operation), "SWITCHB2 Operation", kSwitchOperations);
  DefineChoiceTexts(p(kParamSwitchB2FunctionMode), "SWITCHB2 Function Mode", kSwitchFunctions);
  p(kParamSwitchB2Controller).DefineInteger("SWITCHB2 Controller", 0, 0, 127);
  p(kParamSwitch2SpecialCtrlLower).DefineInteger("SWITCH2 Special Ctrl Lower", 0, 0, 127);
  p(kParamSwitch2SpecialCtrlUpper).DefineInteger("SWITCH2 Special Ctrl Upper", 0, 0, 127);
  DefineChoiceTexts(p(kParamPedal1MidiChannel), "PEDAL1 Midi Channel", kChannelList);
  DefineChoiceTexts(p(kParamPedal1Mode), "PEDAL1 Mode", kPedalModes);
  p(kParamPedal1Controller).DefineInteger("PEDAL1 Controller", 0, 0, 127);
  p(kParamPedal1OutMinimum).DefineInteger("PEDAL1 Out Minimum", 0, 0, 127);
  p(kParamPedal1OutMaximum).DefineInteger("PEDAL1 Out Maximum", 0, 0, 127);
  p(kParamPedal1CalibrationLowEnd).DefineInteger("PEDAL1 Calibration Low End", 0, 0, 127);
  p(kParamPedal1CalibrationHighEnd).DefineInteger("PEDAL1 Calibration High End", 0, 0, 127);
  DefineChoiceTexts(p(kParamSwitchA1MidiChannel), "SWITCHA1 Midi Channel", kChannelList);
  DefineChoiceTexts(p(kParamSwitchA1Operation), "SWITCHA1 Operation", kSwitchOperations);
  DefineChoiceTexts(p(kParamSwitchA1FunctionMode), "SWITCHA1 Function Mode", kSwitchFunctions);
  p(kParamSwitchA1Controller).DefineInteger("SWITCHA1 Controller", 0, 0, 127);
  DefineChoiceTexts(p(kParamSwitchB1MidiChannel), "SWITCHB1 Midi Channel", kChannelList);
  DefineChoiceTexts(p(kParamSwitchB1Operation), "SWITCHB1 Operation", kSwitchOperations);
  DefineChoiceTexts(p(kParamSwitchB1FunctionMode), "SWITCHB1 Function Mode", kSwitchFunctions);
  p(kParamSwitchB1Controller).DefineInteger("SWITCHB1 Controller", 0, 0, 127);
  p(kParamSwitch1SpecialCtrlLower).DefineInteger("SWITCH1 Special Ctrl Lower", 0, 0, 127);
  p(kParamSwitch1SpecialCtrlUpper).DefineInteger("SWITCH1 Special Ctrl Upper", 0, 0, 127);
}

} // namespace

void DefineAllParameters(const ParamAccessor& param) {
  DefineSoundParameters(param);
  DefineSurfaceParameters(param);
  DefineGlobalSettings(param);
  DefineJackSetup(param);
}

double PayloadByteToNormalized(const IParam& param, int byte) {
  return (byte - param.Min()) / (param.Max() - param.Min());
}

int ParamToPayloadByte(const IParam& param) {
  return param.Int();
}

} // namespace zorel
