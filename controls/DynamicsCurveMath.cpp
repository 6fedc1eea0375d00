#include "controls/DynamicsCurveMath.h"

#include <algorithm>
#include <cmath>

namespace igraphics {

float KneeFromLevel(float db) {
  return std::clamp(1.f - std::abs(db / 100.f), 0.f, 1.f);
}

void DynamicsKnees::SetLower(float knee) {
  lower = knee;
  if (upper < lower) upper = lower;
}

void DynamicsKnees::SetUpper(float knee) {
  upper = knee;
  if (lower > upper) lower = upper;
}

float GateThresholdLevel(int value) {
  return (static_cast<float>(value) / 127.f - 1.f) * 70.f - 30.f;
}

float CompressorThresholdLevel(int value) {
  return static_cast<float>(value) / 127.f * -60.f;
}

float GateSlope(int value) {
  return 1.f / (static_cast<float>(value) / 127.f * 9.f + 1.f);
}

float CompressorSlope(int value) {
  return static_cast<float>(value) / 127.f * 19.f + 1.f;
}

DynamicsCurve ComputeDynamicsCurve(const Rect& r, float lowerKnee, float upperKnee,
                                   float lowerSlope, float upperSlope) {
  const float w = r.W(), h = r.H();
  const Point a{r.L + w * lowerKnee, r.B - h * lowerKnee};
  const Point c{r.L + w * upperKnee, r.B - h * upperKnee};
  const Point start{a.x - (a.x - r.L) * lowerSlope, r.B};
  const Point end = upperSlope >= 1.f ? Point{r.R, c.y - (c.y - r.T) / upperSlope}
                                      : Point{c.x + (r.R - c.x) * upperSlope, r.T};
  return {start, a, c, end};
}

} // namespace igraphics
