// The 128 factory programs. Each is one of 32 styles in one of four
// variants; a style picks an amplifier model and an ambience type from the
// tables the editor uses to recognise them, so the editor lights the right
// buttons for every factory program.

#include <algorithm>
#include <array>
#include <string>

#include "protocol/codec/Names.h"
#include "sim/FactoryContent.h"

namespace zorel::sim {

namespace {

constexpr std::array<int, kNumPresetParams> kDefaults = {
    64,  64,  64,  64,  64, 64,  64, 64,  0, 0,  64, 64, 64, 64, 0,  64,              // 0..15
    64,  64,  100, 2,   64, 127, 0,  127, 0, 0,  64, 64, 64, 0,  64, 64, 64,          // 16..32
    127, 127, 127, 127, 0,  0,   64, 0,   0, 64, 64, 64, 64, 64, 64, 64, 64,          // 33..49
    1,   0,   0,   0,   0,  0,   0,  0,   0, 0,  0,  64, 64, 64, 32, 0,  0,  0, 0, 0, // 50..69
    64,  127, 64,  64};                                                               // 70..73

// Amplifier models: parameters 1, 2, 3, 4, 44, 45, 46, 11, 5 and 64.
constexpr std::array<int, 10> kAmpParams = {
    kParamGain,   kParamBuzz,    kParamPunch,     kParamCrunch, kParamBuzzQ,
    kParamPunchQ, kParamCrunchQ, kParamPunchFreq, kParamDrive,  kParamPresetLevel};
constexpr std::array<std::array<int, 10>, 10> kAmpModels = {{
    {20, 64, 9, 59, 64, 95, 0, 75, 15, 127},
    {26, 63, 64, 64, 64, 64, 0, 65, 20, 0},
    {10, 62, 64, 0, 64, 80, 0, 8, 25, 127},
    {20, 64, 14, 34, 64, 64, 0, 23, 20, 127},
    {25, 58, 5, 21, 64, 43, 0, 60, 25, 127},
    {20, 64, 31, 17, 64, 60, 0, 86, 10, 127},
    {20, 70, 28, 21, 64, 63, 0, 60, 15, 127},
    {22, 64, 0, 36, 64, 67, 0, 64, 22, 127},
    {61, 27, 77, 67, 64, 80, 0, 39, 96, 14},
    {61, 43, 105, 67, 64, 27, 0, 40, 96, 14},
}};

// Ambience types: parameters 16, 18..24, 58, 59.
constexpr std::array<int, 10> kAmbienceParams = {
    kParamReverbRoomSize,      kParamReverbDiffusion, kParamReverbExtensionFactor,
    kParamReverbFbkDelaySize,  kParamReverbFbkFilter, kParamReverbFbkDamperFactor,
    kParamReverbLPFilter,      kParamReverbHPFilter,  kParamReverbModulationDepth,
    kParamReverbModulationRate};
constexpr std::array<std::array<int, 10>, 7> kAmbienceTypes = {{
    {47, 20, 3, 49, 127, 93, 127, 15, 0, 0},
    {64, 8, 2, 64, 127, 64, 64, 20, 4, 127},
    {109, 100, 2, 71, 127, 73, 26, 23, 26, 0},
    {86, 120, 2, 127, 127, 45, 127, 42, 4, 127},
    {74, 84, 4, 52, 0, 0, 127, 0, 67, 60},
    {64, 64, 5, 0, 127, 64, 127, 15, 0, 0},
    {64, 70, 5, 0, 127, 32, 127, 10, 0, 0},
}};
// Reverb mode (Room, Hall, Arena, Spring, Plate) that goes with each type.
constexpr std::array<int, 7> kAmbienceReverbMode = {0, 1, 3, 4, 1, 0, 2};

enum Effect { kNone = 0, kChorus = 1, kAutoFilter = 2 };

struct Style {
  const char* name;
  int amp;
  int ambience;
  int reverb;  // ambience level
  int gate;    // gate threshold
  int cabinet; // 0 = flat, 1..8 the factory cabinets
  int effect;
};

constexpr std::array<Style, 32> kStyles = {{
    {"Clean Studio", 0, 0, 30, 0, 1, kNone},      {"Warm Jazz", 3, 1, 40, 0, 7, kNone},
    {"Bass Deep Round", 1, 0, 10, 10, 3, kNone},  {"Duo Drive", 2, 0, 20, 20, 2, kNone},
    {"Vintage Crunch", 3, 2, 35, 15, 7, kNone},   {"Modern Rhythm", 4, 0, 15, 40, 8, kNone},
    {"Lid Blues", 5, 3, 45, 10, 2, kNone},        {"Stack Lead", 6, 1, 50, 30, 8, kNone},
    {"Darkface Clean", 7, 2, 40, 0, 7, kNone},    {"Isle High Gain", 8, 0, 20, 70, 8, kNone},
    {"Razor Metal", 9, 0, 10, 85, 6, kNone},      {"Funk Chops", 4, 0, 15, 20, 1, kAutoFilter},
    {"Country Twang", 7, 2, 30, 0, 7, kNone},     {"Indie Jangle", 3, 4, 45, 0, 2, kChorus},
    {"Ambient Swell", 0, 3, 90, 0, 1, kChorus},   {"Slapback Echo", 5, 5, 50, 10, 2, kNone},
    {"Echo Verb Lead", 6, 6, 60, 30, 8, kNone},   {"Bass Growl", 1, 0, 5, 30, 3, kNone},
    {"Bass Fingerstyle", 1, 1, 15, 10, 4, kNone}, {"Doom Sludge", 9, 1, 35, 60, 6, kNone},
    {"Punk Rhythm", 8, 0, 10, 50, 8, kNone},      {"Surf Spring", 7, 2, 70, 0, 7, kNone},
    {"Plate Ballad", 0, 3, 65, 0, 1, kNone},      {"Chorus Clean", 0, 4, 40, 0, 1, kChorus},
    {"Hall Solo", 6, 1, 70, 30, 8, kNone},        {"Edge of Breakup", 5, 0, 25, 10, 2, kNone},
    {"Tight Djent", 9, 0, 5, 100, 6, kNone},      {"Hot Rod Lead", 8, 6, 45, 60, 8, kNone},
    {"Acoustic Sim", 0, 0, 35, 0, 0, kNone},      {"Garage Fuzz", 2, 0, 20, 40, 5, kNone},
    {"Reggae Skank", 4, 5, 40, 15, 1, kNone},     {"Auto Wah Funk", 4, 0, 10, 20, 1, kAutoFilter},
}};

constexpr std::array<const char*, 4> kVariantSuffix = {"", " Live", " Studio", " Alt"};

// Position of the IR control for a cabinet of the cabinet list.
int CabinetPosition(int cabinet) {
  return cabinet >= 8 ? 127 : cabinet * 16;
}

int Clamp(int index, int value) {
  const SoundParamRange range = SoundParamRangeOf(index);
  return std::clamp(value, range.min, range.max);
}

void SetParam(PresetPayload& payload, int index, int value) {
  payload[PayloadParamOffset(index)] = static_cast<uint8_t>(Clamp(index, value));
}

void WriteName(PresetPayload& payload, size_t offset, std::string_view name) {
  WriteNameField(std::span<uint8_t, kNameLength>(payload.data() + offset, kNameLength), name);
}

PresetPayload BuildProgram(int slot, const std::array<IRBlock, kUserIRSlotCount>& userIRs) {
  const Style& style = kStyles[static_cast<size_t>(slot % 32)];
  const int variant = slot / 32;
  PresetPayload payload{};
  payload[0] = 0x01;
  payload[1] = 0x00;
  WriteName(payload, kPayloadNameOffset, std::string(style.name) + kVariantSuffix[variant]);
  for (int i = 0; i < kNumPresetParams; ++i)
    SetParam(payload, i, kDefaults[static_cast<size_t>(i)]);

  const auto& amp = kAmpModels[static_cast<size_t>(style.amp)];
  for (size_t c = 0; c < kAmpParams.size(); ++c) SetParam(payload, kAmpParams[c], amp[c]);
  const auto& amb = kAmbienceTypes[static_cast<size_t>(style.ambience)];
  for (size_t c = 0; c < kAmbienceParams.size(); ++c) SetParam(payload, kAmbienceParams[c], amb[c]);
  SetParam(payload, kParamReverbMode, kAmbienceReverbMode[static_cast<size_t>(style.ambience)]);

  // Variants: "Live" is wetter and louder, "Studio" drier and tighter,
  // "Alt" has the tone stack turned the other way.
  const std::array<int, 4> reverbShift = {0, 20, -10, 5};
  const std::array<int, 4> levelShift = {0, 10, -5, 0};
  const std::array<int, 4> eqShift = {0, 4, -4, 12};
  SetParam(payload, kParamLevel, 80 + levelShift[variant]);
  SetParam(payload, kParamReverb, style.reverb + reverbShift[variant]);
  SetParam(payload, kParamGate, style.gate + (variant == 2 ? 10 : 0));
  SetParam(payload, kParamLow, 64 + eqShift[variant]);
  SetParam(payload, kParamHigh, 64 - eqShift[variant]);
  SetParam(payload, kParamMid, 64 + (slot % 7) - 3);
  SetParam(payload, kParamMidShift, 40 + (slot % 5) * 12);
  SetParam(payload, kParamIR, CabinetPosition(style.cabinet));
  SetParam(payload, kParamReverbDecayTime, 40 + (slot % 4) * 15);

  if (style.effect == kChorus) {
    SetParam(payload, kParamChorusOn, 1);
    SetParam(payload, kParamChorusLevel, 64);
    SetParam(payload, kParamChorusModFreq, 30 + variant * 10);
    SetParam(payload, kParamChorusModDepth, 50);
    SetParam(payload, kParamChorusDelaySize, 40);
  } else if (style.effect == kAutoFilter) {
    SetParam(payload, kParamAutoFilterOn, 1);
    SetParam(payload, kParamAutoFilterLevel, 90);
    SetParam(payload, kParamAutoFilterAttack, 20);
    SetParam(payload, kParamAutoFilterRelease, 70);
  }

  // Programs whose own user IR slots hold an IR play it: IR 7 uses user IR
  // `slot`, IR 8 user IR 128 + `slot`, as the editor assigns them.
  std::fill(payload.begin() + kPayloadIR7NameOffset, payload.end(), kNamePadByte);
  const IRBlock& ir7 = userIRs[static_cast<size_t>(slot)];
  if (!IRBlockIsEmpty(ir7)) {
    SetParam(payload, kParamUserIR7Mode, 1);
    SetParam(payload, kParamUserIR7PresetMSB, 0);
    SetParam(payload, kParamUserIR7Preset, slot);
    SetParam(payload, kParamIR, CabinetPosition(7));
    WriteName(payload, kPayloadIR7NameOffset, IRBlockName(ir7));
  }
  const IRBlock& ir8 = userIRs[static_cast<size_t>(128 + slot)];
  if (!IRBlockIsEmpty(ir8)) {
    SetParam(payload, kParamUserIR8Mode, 1);
    SetParam(payload, kParamUserIR8PresetMSB, 1);
    SetParam(payload, kParamUserIR8Preset, slot);
    WriteName(payload, kPayloadIR8NameOffset, IRBlockName(ir8));
  }
  return payload;
}

} // namespace

SoundParamRange SoundParamRangeOf(int index) {
  SoundParamRange range;
  if (index < 0 || index >= kNumPresetParams) return range;
  range.defaultValue = kDefaults[static_cast<size_t>(index)];
  switch (index) {
  case kParamReverbExtensionFactor:
    range = {2, 5, range.defaultValue};
    break;
  case kParamUserIR7Mode:
  case kParamUserIR8Mode:
  case kParamAutoGain:
  case kParamLookahead:
  case kParamAutoFilterOn:
  case kParamChorusOn:
    range.max = 1;
    break;
  case kParamTuner:
    range.max = 2;
    break;
  case kParamReverbMode:
    range.max = 4;
    break;
  default:
    break;
  }
  return range;
}

std::array<PresetPayload, kPresetSlotCount> FactoryPresets() {
  const auto userIRs = FactoryUserIRs();
  std::array<PresetPayload, kPresetSlotCount> presets{};
  for (int slot = 0; slot < kPresetSlotCount; ++slot)
    presets[static_cast<size_t>(slot)] = BuildProgram(slot, userIRs);
  return presets;
}

} // namespace zorel::sim
