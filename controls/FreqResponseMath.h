#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "render/Rect.h"

// The arithmetic behind the frequency response graph, free of drawing: the
// analysis windows, the FFT, the logarithmic frequency axis, the pixel
// columns of the curve with their smoothing, the grid positions and the
// pointer read-out. Every function here is pure or works only on the spans
// it is given, so it may run on any thread.

namespace igraphics {

inline constexpr int kNumWindowTypes = 8;

// Window coefficients for a frame of window.size() samples: 0 rectangular,
// 1 Blackman, 2 Blackman-Harris (sampled at half-sample centres),
// 3 Hamming, 4 Hann, 5 sine, 6 sine cubed, 7 Hann squared. An unknown type
// gives the rectangular window. Frames of fewer than two samples are all 1.
void FillWindow(int type, std::span<double> window);

bool IsPowerOfTwo(size_t n);

// An in-place radix-2 complex FFT of a fixed size: decimation in frequency
// over log2(n) stages, then the bit-reversal permutation. Forward transform,
// not divided by n, so a unit impulse gives 1 in every bin and a frame of
// ones gives n in bin 0. The tables are built once, so a transform allocates
// nothing.
class RadixTwoFft {
public:
  // `n` must be a power of two of at least 2; anything else gives size 0,
  // which transforms nothing.
  explicit RadixTwoFft(size_t n);

  size_t Size() const { return mSize; }
  // False (and nothing changed) unless both spans hold exactly Size() values.
  bool Transform(std::span<double> re, std::span<double> im) const;

private:
  size_t mSize = 0;
  std::vector<double> mCos;      // cos(2 pi k / n), k < n / 2
  std::vector<double> mSin;      // -sin(2 pi k / n)
  std::vector<size_t> mSwapWith; // bit-reversed index of each index
};

// 4-point Catmull-Rom interpolation of `values` at fractional index `pos`:
// k = floor(pos) but at least 1, u = pos - k, through values k-1 .. k+2.
// Indices beyond either end repeat the end value, and positions past the
// last value hold it, so the ends never read outside the data nor dip
// towards zero. Empty data gives 0.
double CubicAt(std::span<const double> values, double pos);

// The fractional FFT bin of each point of the logarithmic axis: point j of
// `positions.size()` (the bins used, n / 2) lies at
// f = minFreq * (maxFreq / minFreq) ^ (j / size), bin f / (sampleRate / 2) * size.
void LogBinPositions(std::span<double> positions, double minFreq, double maxFreq,
                     double sampleRate);

// out[j] = CubicAt(values, positions[j]).
void ResampleAt(std::span<const double> values, std::span<const double> positions,
                std::span<double> out);

// Pixel column c of columns.size() shows the log spectrum at index
// c * logSpectrum.size() / columns.size(), as a distance from the top edge:
// height / levelRange * (topLevel - dB), with magnitudes below 1e-5 (and
// non-numbers) taken as 1e-5 (-100 dB). Unclamped.
void LevelColumns(std::span<const double> logSpectrum, std::span<float> columns, float height,
                  double levelRange, double topLevel);

// Moves each smoothed value towards its target: slowly (time constant 0.3
// of the height, in columns per call) while the curve falls, quickly (0.03)
// while it rises. Values are distances from the top, so "falls" is
// smoothed < target.
void ApplyBallistics(std::span<const float> target, std::span<float> smoothed, float height);

// Limits each value to 0 .. height.
void ClampColumns(std::span<float> columns, float height);

// Appends to `keep` the indices of the points (i, ys[i]) a drawing needs:
// every dropped point lies within `tolerance` (vertically) of the straight
// line between the kept points around it. The first and last are always
// kept. Stroking a few dozen segments instead of hundreds is what makes the
// curve cheap to draw.
void SimplifyPolyline(std::span<const float> ys, float tolerance, std::vector<size_t>& keep);

// Horizontal fraction 0..1 of a frequency on the log2 axis.
double FrequencyFraction(double freq, double minFreq, double maxFreq);
// Vertical fraction of a level from the top edge; 0 for a level above the top.
double LevelFraction(double level, double topLevel, double levelRange);
// The frequency at a horizontal fraction, and the level at a vertical one.
double FrequencyAtFraction(double fraction, double minFreq, double maxFreq);
double LevelAtFraction(double fraction, double topLevel, double levelRange);

// "Freq: %2.3f kHz" from 1000 Hz up, "Freq: %4.0f Hz" below.
std::string FrequencyReadoutText(double freq);
// "Gain: %4.1f dB".
std::string GainReadoutText(double level);
// "%4.0f dB", the label of a level grid line.
std::string LevelLabelText(double level);

// Where the pointer read-out goes for a pointer at (x, y) over `bounds`: to
// the right of the pointer, or to its left within 100 units of the right edge.
struct ReadoutBoxes {
  Rect background;
  Rect frequencyText;
  Rect gainText;
};
ReadoutBoxes ReadoutBoxesAt(const Rect& bounds, float x, float y);

} // namespace igraphics
