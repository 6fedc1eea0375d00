// Factory IRs, the factory user IRs and the assembly of a fresh pedal.
// The cabinet responses are synthetic: a short onset, a few damped
// resonances and a decaying noise tail, each cabinet with its own mix, so
// that the eight curves the editor draws are distinct and repeatable.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include "protocol/codec/Names.h"
#include "sim/FactoryContent.h"

namespace zorel::sim {

namespace {

constexpr size_t kFormatOffset = 0;
constexpr size_t kGainOffset = 2;
constexpr size_t kNameOffset = 4;
constexpr size_t kSamplesOffset = 36;

void PutWord(IRBlock& block, size_t offset, uint16_t word) {
  block[offset] = static_cast<uint8_t>(word & 0xFF);
  block[offset + 1] = static_cast<uint8_t>(word >> 8);
}

struct CabinetVoice {
  const char* name;
  double decayMs;  // of the resonances
  double lowHz;    // body resonance
  double highHz;   // cone break-up
  double highMix;  // share of the break-up resonance
  double noiseMix; // share of the diffuse tail
  uint32_t seed;
};

constexpr std::array<CabinetVoice, kFactoryIRCount> kFactoryCabinets = {{
    {"Movrant", 3.0, 110.0, 2600.0, 0.30, 0.20, 11},
    {"Lidtop", 2.2, 140.0, 3100.0, 0.45, 0.25, 23},
    {"QS 8x10", 4.0, 75.0, 1800.0, 0.20, 0.15, 37},
    {"Coast 2x15", 5.0, 60.0, 1400.0, 0.15, 0.20, 41},
    {"Stage 2x15", 4.5, 65.0, 1600.0, 0.25, 0.30, 53},
    {"Bolt 4x10", 3.5, 90.0, 2200.0, 0.35, 0.20, 67},
    {"Tone 12L", 2.8, 120.0, 2900.0, 0.40, 0.15, 71},
    {"Isle V30", 3.2, 100.0, 3400.0, 0.50, 0.25, 83},
}};

// User IRs a fresh pedal holds, by number; every other slot is empty.
struct UserVoice {
  int number;
  CabinetVoice voice;
};
constexpr std::array<UserVoice, 20> kFactoryUserIRs = {{
    {0, {"Studio 4x12 SM57", 3.0, 105.0, 2800.0, 0.40, 0.20, 101}},
    {1, {"Jazz Combo Ribbon", 2.5, 130.0, 2000.0, 0.20, 0.10, 102}},
    {2, {"Bass 8x10 DI Blend", 4.5, 70.0, 1500.0, 0.15, 0.10, 103}},
    {3, {"British 2x12 Edge", 3.0, 115.0, 3000.0, 0.45, 0.20, 104}},
    {4, {"Vintage 1x12 Room", 3.8, 125.0, 2500.0, 0.30, 0.40, 105}},
    {5, {"Modern 4x12 Tight", 2.6, 95.0, 3300.0, 0.50, 0.15, 106}},
    {6, {"Blues 4x10 Cap", 3.2, 100.0, 2400.0, 0.35, 0.20, 107}},
    {7, {"Stack Far Field", 4.0, 90.0, 2700.0, 0.30, 0.45, 108}},
    {8, {"Darkface 2x12", 3.1, 110.0, 2600.0, 0.30, 0.20, 109}},
    {9, {"Isle V30 Off Axis", 2.9, 100.0, 3600.0, 0.55, 0.20, 110}},
    {10, {"Razor Mesa Style", 2.4, 85.0, 3200.0, 0.50, 0.10, 111}},
    {11, {"Funk 1x15", 4.2, 80.0, 1900.0, 0.20, 0.15, 112}},
    {16, {"Bass 1x15 Vintage", 5.0, 58.0, 1300.0, 0.10, 0.15, 113}},
    {17, {"Bass 4x10 Bright", 3.5, 85.0, 2600.0, 0.35, 0.15, 114}},
    {128, {"Room Mic Ambience", 6.0, 100.0, 2400.0, 0.25, 0.60, 115}},
    {129, {"Ribbon Dark", 3.5, 120.0, 1700.0, 0.10, 0.15, 116}},
    {130, {"Condenser Air", 2.8, 110.0, 3800.0, 0.50, 0.30, 117}},
    {131, {"Dynamic Close", 2.5, 105.0, 3000.0, 0.45, 0.10, 118}},
    {132, {"Back Of Cab", 3.8, 90.0, 1500.0, 0.10, 0.20, 119}},
    {133, {"Blend 57 121", 3.0, 105.0, 2700.0, 0.35, 0.20, 120}},
}};

// xorshift32: a tiny generator whose output is the same everywhere.
uint32_t NextRandom(uint32_t& state) {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return state;
}

std::vector<double> SynthesizeCabinet(const CabinetVoice& voice) {
  std::vector<double> x(kIRSampleCount);
  uint32_t random = voice.seed * 2654435761u + 1u;
  const double decay = voice.decayMs * 0.001 * kIRSampleRate;
  const double tail = decay * 2.5;
  const double w1 = 2.0 * std::numbers::pi * voice.lowHz / kIRSampleRate;
  const double w2 = 2.0 * std::numbers::pi * voice.highHz / kIRSampleRate;
  double peak = 0.0;
  for (size_t k = 0; k < x.size(); ++k) {
    const double t = static_cast<double>(k);
    const double noise = (static_cast<double>(NextRandom(random) >> 8) / 8388608.0) * 2.0 - 1.0;
    const double onset = k == 0 ? 1.0 : 0.0;
    x[k] = onset +
           std::exp(-t / decay) *
               ((1.0 - voice.highMix) * std::sin(w1 * t) + voice.highMix * std::sin(w2 * t)) +
           voice.noiseMix * std::exp(-t / tail) * noise;
    peak = std::max(peak, std::abs(x[k]));
  }
  for (double& v : x) v *= 0.9 / peak;
  return x;
}

} // namespace

IRBlock BuildIRBlock(std::string_view name, std::span<const double> samples) {
  IRBlock block{};
  PutWord(block, kFormatOffset, 1);
  double sumOfSquares = 0.0;
  const size_t count = std::min(samples.size(), kIRSampleCount);
  for (size_t k = 0; k < count; ++k) sumOfSquares += samples[k] * samples[k];
  double gain = 1.2 / (std::sqrt(sumOfSquares) * std::sqrt(2.0));
  if (!(gain <= 1.0)) gain = 1.0; // also catches the infinity of silence
  PutWord(block, kGainOffset, static_cast<uint16_t>(static_cast<int>(gain * 32768.0)));
  WriteNameField(std::span<uint8_t, kNameLength>(block.data() + kNameOffset, kNameLength), name);
  for (size_t k = 0; k < count; ++k) {
    const double clamped = std::clamp(samples[k], -1.0, 32767.0 / 32768.0);
    const auto value = static_cast<int16_t>(static_cast<int>(clamped * 32768.0));
    PutWord(block, kSamplesOffset + 2 * k, static_cast<uint16_t>(value));
  }
  return block;
}

IRBlock EmptyIRBlock() {
  return BuildIRBlock(std::string(kNameLength, ' '), {});
}

std::array<IRBlock, kFactoryIRCount> FactoryIRs() {
  std::array<IRBlock, kFactoryIRCount> irs{};
  for (size_t i = 0; i < irs.size(); ++i)
    irs[i] = BuildIRBlock(kFactoryCabinets[i].name, SynthesizeCabinet(kFactoryCabinets[i]));
  return irs;
}

std::array<IRBlock, kUserIRSlotCount> FactoryUserIRs() {
  std::array<IRBlock, kUserIRSlotCount> irs;
  irs.fill(EmptyIRBlock());
  for (const UserVoice& user : kFactoryUserIRs)
    irs[static_cast<size_t>(user.number)] =
        BuildIRBlock(user.voice.name, SynthesizeCabinet(user.voice));
  return irs;
}

void RestoreFactoryPresets(PedalState& state) {
  state.presets = FactoryPresets();
  LoadProgram(state, state.currentProgram);
}

void RestoreFactorySettings(PedalState& state) {
  state.globalData.fill(0);
  state.globalData[8] = 12;   // tuner at 440 Hz
  state.globalData[11] = 127; // soft clipping, analog sim gain and
  state.globalData[12] = 127; // anti-aliasing filter fully open
  state.globalData[13] = 127;
  state.midiAssignments.fill(0);
  for (int knob = 0; knob < kMidiCCKnobCount; ++knob)
    state.midiAssignments[static_cast<size_t>(knob)] = static_cast<uint8_t>(knob);
  for (int k = 0; k < kProgramMapSize; ++k)
    state.programMap[static_cast<size_t>(k)] = static_cast<uint8_t>(k);
}

PedalState MakeFactoryState() {
  PedalState state;
  state.userIRs = FactoryUserIRs();
  state.factoryIRs = FactoryIRs();
  state.firmwareVersionTimes10 = kDefaultFirmwareVersionTimes10;
  state.serial = std::string(kDefaultSerial);
  state.currentProgram = 0;
  RestoreFactorySettings(state);
  RestoreFactoryPresets(state);
  return state;
}

} // namespace zorel::sim
