#include "ui/readouts/Readouts.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "protocol/codec/ParamIds.h"

namespace zorel::ui {

namespace {

constexpr int kCentre = 64; // bipolar controls show an exact 0 here
const char* const kBypass = "Bypass";

int Conform(int value) {
  return std::clamp(value, 0, 127);
}

// The knob position 0..1, in single precision like the pedal's own readouts.
float Position(int u) {
  return static_cast<float>(u) / 127.0f;
}

// A number that rounds to zero shows without a sign ("0.0", not "-0.0").
void DropSignOfZero(std::string& text) {
  if (text.empty() || text[0] != '-') return;
  size_t i = 1;
  for (; i < text.size() && (std::isdigit(static_cast<unsigned char>(text[i])) || text[i] == '.');
       ++i)
    if (text[i] != '0' && text[i] != '.') return;
  if (i > 1) text.erase(0, 1);
}

std::string Format(const char* format, double value) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, format, value);
  std::string text(buffer);
  DropSignOfZero(text);
  return text;
}

// Half-decibel steps, as the threshold readouts count.
float HalfSteps(float t) {
  return std::round(2.0f * t) / 2.0f;
}

float Percent(float w) {
  return w * 100.0f;
}

// Attack and release times share one quadratic law.
float ReleaseMs(float w) {
  return w * w * 990.0f + 10.0f;
}

// -100 .. +100, whole steps rounded down.
float Bipolar100(float w) {
  return std::floor(w * 200.0f - 100.0f);
}

// The band's centre frequency: 200 .. 500 .. 2000 Hz, bent at the centre.
double ShiftFrequency(int u) {
  if (u == kCentre) return 500.0;
  const double x = u / 127.0 * 2.0 - 1.0;
  return (x < 0 ? 300.0 : 1500.0) * x + 500.0;
}

// -1 .. 1, with an exact 0 at the centre.
double Bipolar(int u) {
  return u == kCentre ? 0.0 : u / 127.0 * 2.0 - 1.0;
}

// +-12 dB with an exact 0 at the centre.
double BandGain(int u) {
  return u == kCentre ? 0.0 : u / 127.0 * 24.0 - 12.0;
}

std::vector<ReadoutText> AnalogSim(int u) {
  if (u == kCentre) return {{21, kBypass}, {22, "SMOOTHING"}};
  if (u < kCentre)
    return {{21, Format("%.0f", (64 - u) * 0.015625 * 100.0)}, {22, "DIGITAL SMOOTH"}};
  return {{21, Format("%.0f", (u - 64) / 63.0 * 100.0)}, {22, "ANALOG SMOOTH"}};
}

} // namespace

std::vector<ReadoutText> FormatReadout(int index, int value) {
  const int u = Conform(value);
  const float w = Position(u);
  auto one = [](int tag, std::string text) {
    return std::vector<ReadoutText>{{tag, std::move(text)}};
  };
  switch (index) {
  case kParamLevel:
    return one(50, Format("%.0f%%", Percent(w)));
  case kParamGain:
    return one(49, Format("%.0f", std::max(1.0f, Percent(w))));
  case kParamCrunch:
    return one(34, Format("%.0f", Percent(w)));
  case kParamDrive:
    return one(48, Format("%.0f", std::max(1.0f, Percent(w))));
  case kParamLow:
    return one(36, Format("%.1f", u == kCentre ? 0.0f : w * 24.0f - 12.0f));
  case kParamReverb:
    return one(45, u == 0 ? kBypass : Format("%.0f", Percent(w)));
  case kParamGate:
    return one(20, u == 0 ? kBypass : Format("%.1f", HalfSteps((w - 1.0f) * 70.0f - 30.0f)));
  case kParamDynamics:
    return one(8, u == 0 ? kBypass : Format("%.1fdB", HalfSteps(w * -60.0f)));
  case kParamIR: {
    // The cabinet position times ten, on the preset number display.
    char text[16];
    std::snprintf(text, sizeof text, "%02d", static_cast<int>(u / 127.0 * 80.5));
    return one(1, text);
  }
  case kParamAnalogSim:
    return AnalogSim(u);
  case kParamReverbRoomSize:
    return one(
        47, Format("%.0f", std::pow(static_cast<double>(w), 1.7543859869269236) * 500.0 + 100.0));
  case kParamReverbDecayTime:
    return one(46, Format("%.0f", Percent(w)));
  case kParamCompressorRatio:
    return one(9, Format("%.1f:1", w * 19.0f + 1.0f));
  case kParamCompressorOutputGain:
    return one(10, Format("%.2f", u == kCentre ? 0.0f
                                  : w < 0.5f   ? (w - 0.5f) * 60.0f
                                               : (w - 0.5f) * 36.0f));
  case kParamCompressorAttack:
    return one(11, Format("%.1f", w * w * w * 99.0f + 1.0f));
  case kParamCompressorRelease:
    return one(12, Format("%.1f", ReleaseMs(w)));
  case kParamGateRatio:
    return one(17, Format("%.1f:1", w * 9.0f + 1.0f));
  case kParamGateRelease:
    return one(19, Format("%.1f", ReleaseMs(w)));
  case kParamUserIR7Gain:
  case kParamUserIR8Gain:
    return one(index == kParamUserIR7Gain ? 27 : 28,
               Format("%.2f", u == kCentre ? 0.0f : (w - 1.0f) * 24.0f + 12.0f));
  case kParamLowQ:
    return one(37, Format("%.1f", u == kCentre ? 1.0f : std::pow(2.0f, 2.0f * w - 1.0f)));
  case kParamAutoFilterLevel:
    return one(51, u == kCentre ? kBypass : Format("%.0f", Bipolar100(w)));
  case kParamAutoFilterAttack:
    return one(52, Format("%.0f", Percent(w)));
  case kParamAutoFilterRelease:
    return one(53, Format("%.0f", Percent(w)));
  case kParamChorusLevel:
    return one(97, u == 0 ? kBypass : Format("%.0f%%", Percent(w)));
  case kParamChorusModFreq:
    return one(98, Format("%.2f", w * w * 6.0f));
  case kParamChorusModDepth:
    return one(99, Format("%.0f", Percent(w)));
  case kParamChorusDelaySize:
    return one(100, Format("%.0f", Percent(w)));
  case kParamChorusFeedback:
    return one(101, Format("%.0f", Bipolar100(w)));
  case kParamLowFreq:
    return one(38, Format("%.0f", u == kCentre ? 120.0f : w * 160.0f + 40.0f));
  default:
    return {};
  }
}

std::string FormatReadoutForTag(int tag, int index, int value) {
  for (ReadoutText& r : FormatReadout(index, value))
    if (r.tag == tag) return std::move(r.text);
  return {};
}

BandReadouts FormatPunchReadouts(int gain, int frequency, int quality) {
  const int g = Conform(gain);
  const float t = g == kCentre ? 0.0f : static_cast<float>(g) / 127.0f * 48.0f - 24.0f;
  // A cut spans twice the quality range of a boost.
  const double h = Bipolar(Conform(quality));
  const double e = g > 63 ? h : 2.0 * h;
  return {{{31, Format("%.1f", HalfSteps(t))},
           {33, Format("%.0f", ShiftFrequency(Conform(frequency)))},
           {32, Format("%.1f", std::pow(2.0, 2.0 * e) * 0.644)}}};
}

BandReadouts FormatMidReadouts(int gain, int frequency, int quality) {
  const double f = ShiftFrequency(Conform(frequency));
  const std::string freq = f < 1000.0 ? Format("%.0f", std::round(f / 10.0) * 10.0)
                                      : Format("%.2fk", std::round(f / 20.0) * 0.02);
  const int q = Conform(quality);
  return {{{39, Format("%.1f", BandGain(Conform(gain)))},
           {41, freq},
           {40, Format("%.1f", q == kCentre ? 1.0 : std::pow(2.0, q / 127.0 * 2.0 - 1.0))}}};
}

BandReadouts FormatHighReadouts(int gain, int frequency, int quality) {
  const double c = BandGain(Conform(gain));
  const int fu = Conform(frequency);
  const double f = fu == kCentre ? 4500.0 : fu / 127.0 * 7000.0 + 1000.0;
  // Cutting the highs widens the quality range.
  const double l = Bipolar(Conform(quality));
  return {{{42, Format("%.1f", c)},
           {44, Format("%.1fk", std::round(f / 100.0) / 10.0)},
           {43, Format("%.1f", std::pow(2.0, c < 0 ? 3.0 * l : l) * 0.7)}}};
}

} // namespace zorel::ui
