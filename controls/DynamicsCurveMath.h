#pragma once

#include <array>

#include "render/Rect.h"

// The geometry of the dynamics response graph, free of drawing: the input /
// output square runs from -100 dB (bottom left) to 0 dB (top right); the
// gate threshold is the lower knee, the compressor threshold the upper one,
// and the ratios bend the segments outside the knees.

namespace igraphics {

// 1 - |dB| / 100, limited to 0..1 (levels below -100 dB sit at the corner).
float KneeFromLevel(float db);

// The two knees; the upper is never below the lower. Setting one past the
// other drags the other along.
struct DynamicsKnees {
  float lower = 0.f;
  float upper = 0.f;

  void SetLower(float knee);
  void SetUpper(float knee);
};

// The parameter values (0..127) as the graph takes them, in single precision.
float GateThresholdLevel(int value);       // -100 .. -30 dB
float CompressorThresholdLevel(int value); // 0 .. -60 dB
float GateSlope(int value);                // 1 / (1 .. 10)
float CompressorSlope(int value);          // 1 .. 20

struct Point {
  float x = 0.f;
  float y = 0.f;
  friend bool operator==(const Point&, const Point&) = default;
};

// The curve's four points in `r`: the start of the lower segment on the
// bottom edge, the lower knee A, the upper knee C and the end of the upper
// segment on the right or the top edge. A lower slope of 1 continues the 1:1
// line to the bottom left corner and smaller ones make it steeper; an upper
// slope above 1 flattens the line to the right edge (compression), one below
// 1 steepens it to the top edge (expansion).
struct DynamicsCurve {
  Point start;
  Point lowerKnee;
  Point upperKnee;
  Point end;
};
DynamicsCurve ComputeDynamicsCurve(const Rect& r, float lowerKnee, float upperKnee,
                                   float lowerSlope, float upperSlope);

// The grid: levels and their positions as fractions from the top (a level
// L lies at -L / 100).
inline constexpr std::array<float, 6> kDynamicsGridLevels{-80, -60, -40, -30, -20, -12};
inline constexpr float DynamicsGridPosition(float level) {
  return -level / 100.f;
}

} // namespace igraphics
