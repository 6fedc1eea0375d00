#include "controls/FreqResponseMath.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace igraphics {

namespace {

constexpr double kFloorMagnitude = 0.00001; // -100 dB

double WindowCoefficient(int type, double j, double m) {
  const double a = 2.0 * std::numbers::pi * j / m;
  switch (type) {
  case 1:
    return 0.42 - 0.5 * std::cos(a) + 0.08 * std::cos(2.0 * a);
  case 2: {
    const double b = 2.0 * std::numbers::pi * (j + 0.5) / m;
    return 0.35875 - 0.48829 * std::cos(b) + 0.14128 * std::cos(2.0 * b) -
           0.01168 * std::cos(3.0 * b);
  }
  case 3:
    return 0.54 - 0.46 * std::cos(a);
  case 4:
    return (1.0 - std::cos(a)) / 2.0;
  case 5:
    return std::sin(std::numbers::pi * j / m);
  case 6:
    return std::pow(std::sin(std::numbers::pi * j / m), 3.0);
  case 7: {
    const double hann = (1.0 - std::cos(a)) / 2.0;
    return hann * hann;
  }
  default:
    return 1.0;
  }
}

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

} // namespace

void FillWindow(int type, std::span<double> window) {
  const double m = static_cast<double>(window.size()) - 1.0;
  for (size_t j = 0; j < window.size(); ++j)
    window[j] = window.size() < 2 ? 1.0 : WindowCoefficient(type, static_cast<double>(j), m);
}

bool IsPowerOfTwo(size_t n) {
  return n != 0 && (n & (n - 1)) == 0;
}

RadixTwoFft::RadixTwoFft(size_t n) {
  if (n < 2 || !IsPowerOfTwo(n)) return;
  mSize = n;
  mCos.resize(n / 2);
  mSin.resize(n / 2);
  for (size_t k = 0; k < n / 2; ++k) {
    const double a = 2.0 * std::numbers::pi * static_cast<double>(k) / static_cast<double>(n);
    mCos[k] = std::cos(a);
    mSin[k] = -std::sin(a);
  }
  int bits = 0;
  while ((size_t{1} << bits) < n) ++bits;
  mSwapWith.resize(n);
  for (size_t i = 0; i < n; ++i) {
    size_t r = 0;
    for (int b = 0; b < bits; ++b)
      if (i & (size_t{1} << b)) r |= size_t{1} << (bits - 1 - b);
    mSwapWith[i] = r;
  }
}

bool RadixTwoFft::Transform(std::span<double> re, std::span<double> im) const {
  if (mSize == 0 || re.size() != mSize || im.size() != mSize) return false;
  // Each stage splits every block into sum and twiddled difference halves.
  for (size_t half = mSize / 2, stride = 1; half >= 1; half /= 2, stride *= 2) {
    for (size_t start = 0; start < mSize; start += 2 * half) {
      for (size_t j = 0; j < half; ++j) {
        const size_t a = start + j;
        const size_t b = a + half;
        const double dr = re[a] - re[b];
        const double di = im[a] - im[b];
        re[a] += re[b];
        im[a] += im[b];
        const double wr = mCos[j * stride];
        const double wi = mSin[j * stride];
        re[b] = dr * wr - di * wi;
        im[b] = dr * wi + di * wr;
      }
    }
  }
  for (size_t i = 0; i < mSize; ++i) {
    const size_t r = mSwapWith[i];
    if (r > i) {
      std::swap(re[i], re[r]);
      std::swap(im[i], im[r]);
    }
  }
  return true;
}

double CubicAt(std::span<const double> values, double pos) {
  if (values.empty()) return 0.0;
  const auto last = static_cast<double>(values.size() - 1);
  if (!(pos < last)) pos = last; // also NaN
  if (pos < 0.0) pos = 0.0;
  const double k = std::max(1.0, std::floor(pos));
  const double u = pos - k;
  const auto at = [&](double i) { return values[static_cast<size_t>(std::clamp(i, 0.0, last))]; };
  const double y0 = at(k - 1), y1 = at(k), y2 = at(k + 1), y3 = at(k + 2);
  return y1 + u * (0.5 * (y2 - y0) + u * (y0 - 2.5 * y1 + 2.0 * y2 - 0.5 * y3 +
                                          u * (1.5 * (y1 - y2) + 0.5 * (y3 - y0))));
}

void LogBinPositions(std::span<double> positions, double minFreq, double maxFreq,
                     double sampleRate) {
  const double size = static_cast<double>(positions.size());
  const double decades = std::log10(maxFreq / minFreq);
  const double base = std::log10(minFreq);
  for (size_t j = 0; j < positions.size(); ++j) {
    const double f = std::pow(10.0, static_cast<double>(j) / size * decades + base);
    positions[j] = f * size / (sampleRate / 2.0);
  }
}

void ResampleAt(std::span<const double> values, std::span<const double> positions,
                std::span<double> out) {
  const size_t n = std::min(positions.size(), out.size());
  for (size_t j = 0; j < n; ++j) out[j] = CubicAt(values, positions[j]);
}

void LevelColumns(std::span<const double> logSpectrum, std::span<float> columns, float height,
                  double levelRange, double topLevel) {
  const double scale = height / levelRange;
  const double perColumn =
      static_cast<double>(logSpectrum.size()) / static_cast<double>(columns.size());
  for (size_t c = 0; c < columns.size(); ++c) {
    const double b = CubicAt(logSpectrum, static_cast<double>(c) * perColumn);
    const double db = 20.0 * std::log10(b > kFloorMagnitude ? b : kFloorMagnitude);
    columns[c] = static_cast<float>(scale * (topLevel - db));
  }
}

void ApplyBallistics(std::span<const float> target, std::span<float> smoothed, float height) {
  const float rise = std::exp(-1.0f / (0.3f * height));
  const float fall = std::exp(-1.0f / (0.03f * height));
  const size_t n = std::min(target.size(), smoothed.size());
  for (size_t c = 0; c < n; ++c) {
    const float v = target[c];
    const float s = smoothed[c];
    smoothed[c] = v + (s - v) * (s < v ? rise : fall);
  }
}

void ClampColumns(std::span<float> columns, float height) {
  for (float& v : columns) v = std::isnan(v) ? height : std::clamp(v, 0.0f, height);
}

void SimplifyPolyline(std::span<const float> ys, float tolerance, std::vector<size_t>& keep) {
  if (ys.empty()) return;
  keep.push_back(0);
  // The slopes from the anchor that pass within the tolerance of every
  // point since the anchor; a point outside them ends the segment before it.
  size_t a = 0;
  double lo = -INFINITY, hi = INFINITY;
  for (size_t i = 1; i < ys.size(); ++i) {
    const double slope = (ys[i] - ys[a]) / static_cast<double>(i - a);
    if (slope < lo || slope > hi) {
      keep.push_back(i - 1);
      a = i - 1;
      lo = -INFINITY;
      hi = INFINITY;
    }
    const double dx = static_cast<double>(i - a);
    lo = std::max(lo, (ys[i] - tolerance - ys[a]) / dx);
    hi = std::min(hi, (ys[i] + tolerance - ys[a]) / dx);
  }
  if (ys.size() > 1) keep.push_back(ys.size() - 1);
}

double FrequencyFraction(double freq, double minFreq, double maxFreq) {
  return (std::log2(freq) - std::log2(minFreq)) / (std::log2(maxFreq) - std::log2(minFreq));
}

double LevelFraction(double level, double topLevel, double levelRange) {
  return level > topLevel ? 0.0 : (topLevel - level) / levelRange;
}

double FrequencyAtFraction(double fraction, double minFreq, double maxFreq) {
  return std::pow(10.0, fraction * std::log10(maxFreq / minFreq) + std::log10(minFreq));
}

double LevelAtFraction(double fraction, double topLevel, double levelRange) {
  return topLevel - levelRange * fraction;
}

std::string FrequencyReadoutText(double freq) {
  return freq >= 1000.0 ? Format("Freq: %2.3f kHz", freq / 1000.0) : Format("Freq: %4.0f Hz", freq);
}

std::string GainReadoutText(double level) {
  // A level that rounds to zero shows as 0.0, not -0.0.
  if (std::abs(level) < 0.05) level = 0.0;
  return Format("Gain: %4.1f dB", level);
}

std::string LevelLabelText(double level) {
  return Format("%4.0f dB", level);
}

ReadoutBoxes ReadoutBoxesAt(const Rect& bounds, float x, float y) {
  const bool right = x - bounds.L < bounds.W() - 100.f;
  const float l = right ? x + 10.f : x - 90.f;
  const float r = right ? x + 100.f : x;
  return {{l, y + 10.f, r, y + 38.f}, {l, y + 10.f, r, y + 28.f}, {l, y + 10.f, r, y + 48.f}};
}

} // namespace igraphics
