// The response graph's arithmetic against known answers: transforms of
// impulses, constants and sines, the windows' defining values, the cubic
// interpolation at its ends, the log axis, the columns, their smoothing and
// the pointer read-out.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <vector>

#include "controls/FreqResponseMath.h"

using namespace igraphics;

namespace {

constexpr double kPi = std::numbers::pi;

struct Spectrum {
  std::vector<double> re, im;
  double Magnitude(size_t k) const { return std::hypot(re[k], im[k]); }
};

Spectrum Transform(const std::vector<double>& samples) {
  Spectrum s{samples, std::vector<double>(samples.size(), 0.0)};
  EXPECT_TRUE(RadixTwoFft(samples.size()).Transform(s.re, s.im));
  return s;
}

TEST(Fft, KnownTransforms) {
  for (size_t n : {2u, 8u, 64u, 4096u}) {
    std::vector<double> impulse(n, 0.0);
    impulse[0] = 1.0;
    const Spectrum flat = Transform(impulse);
    for (size_t k = 0; k < n; ++k) {
      EXPECT_NEAR(flat.re[k], 1.0, 1e-12) << n << " bin " << k;
      EXPECT_NEAR(flat.im[k], 0.0, 1e-12) << n << " bin " << k;
    }
    // Not divided by n: a constant 1 puts n into bin 0 and nothing elsewhere.
    const Spectrum dc = Transform(std::vector<double>(n, 1.0));
    EXPECT_NEAR(dc.re[0], static_cast<double>(n), 1e-9) << n;
    for (size_t k = 1; k < n; ++k) EXPECT_NEAR(dc.Magnitude(k), 0.0, 1e-9) << n << " bin " << k;
  }
  // A cosine of amplitude 1 on bin 100 of 4096 puts n / 2 into bins 100 and
  // 4096 - 100; a delayed impulse keeps magnitude 1 with a turning phase.
  const size_t n = 4096;
  std::vector<double> cosine(n), delayed(n, 0.0);
  for (size_t j = 0; j < n; ++j) cosine[j] = std::cos(2.0 * kPi * 100.0 * j / n);
  delayed[3] = 1.0;
  const Spectrum c = Transform(cosine);
  const Spectrum d = Transform(delayed);
  for (size_t k = 0; k < n; ++k) {
    const double expected = (k == 100 || k == n - 100) ? n / 2.0 : 0.0;
    EXPECT_NEAR(c.Magnitude(k), expected, 1e-8) << k;
    EXPECT_NEAR(d.re[k], std::cos(2.0 * kPi * 3.0 * k / n), 1e-12) << k;
    EXPECT_NEAR(d.im[k], -std::sin(2.0 * kPi * 3.0 * k / n), 1e-12) << k;
  }
}

TEST(Fft, MatchesTheDefinitionAndParsevalWithoutDivision) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> dist(-1.0, 1.0);
  for (size_t n : {16u, 1024u}) {
    std::vector<double> x(n);
    for (double& v : x) v = dist(rng);
    const Spectrum s = Transform(x);
    double timeEnergy = 0.0, freqEnergy = 0.0;
    for (size_t j = 0; j < n; ++j) timeEnergy += x[j] * x[j];
    for (size_t k = 0; k < n; ++k) freqEnergy += s.Magnitude(k) * s.Magnitude(k);
    EXPECT_NEAR(freqEnergy, n * timeEnergy, 1e-9 * n * timeEnergy) << n;
    if (n > 16) continue;
    for (size_t k = 0; k < n; ++k) {
      std::complex<double> sum;
      for (size_t j = 0; j < n; ++j) sum += x[j] * std::polar(1.0, -2.0 * kPi * j * k / n);
      EXPECT_NEAR(s.re[k], sum.real(), 1e-12) << k;
      EXPECT_NEAR(s.im[k], sum.imag(), 1e-12) << k;
    }
  }
}

TEST(Fft, RefusesSizesItCannotTransform) {
  for (size_t n : {0u, 1u, 3u, 12u, 4095u}) EXPECT_EQ(RadixTwoFft(n).Size(), 0u) << n;
  std::vector<double> re(8, 1.0), im(8, 0.0), shortIm(4, 0.0);
  EXPECT_FALSE(RadixTwoFft(0).Transform(re, im));
  EXPECT_FALSE(RadixTwoFft(8).Transform(re, shortIm));
  EXPECT_EQ(re, std::vector<double>(8, 1.0)); // untouched
}

TEST(Window, DefiningValues) {
  const size_t n = 9; // M = 8: j = 4 is the centre
  const struct {
    int type;
    double first, centre;
  } cases[] = {
      {0, 1.0, 1.0}, {1, 0.0, 1.0}, {3, 0.08, 1.0}, {4, 0.0, 1.0},
      {5, 0.0, 1.0}, {6, 0.0, 1.0}, {7, 0.0, 1.0},  {99, 1.0, 1.0}, // unknown: rectangular
  };
  for (const auto& c : cases) {
    std::vector<double> w(n);
    FillWindow(c.type, w);
    EXPECT_NEAR(w[0], c.first, 1e-12) << c.type;
    EXPECT_NEAR(w[4], c.centre, 1e-12) << c.type;
    for (size_t j = 0; j < n; ++j) EXPECT_NEAR(w[j], w[n - 1 - j], 1e-12) << c.type << " " << j;
  }
  // Blackman-Harris is sampled half a sample late: j = 0 sits at t = 0.5.
  std::vector<double> bh(n);
  FillWindow(2, bh);
  const double a = 2.0 * kPi * 0.5 / 8.0;
  EXPECT_NEAR(bh[0],
              0.35875 - 0.48829 * std::cos(a) + 0.14128 * std::cos(2 * a) -
                  0.01168 * std::cos(3 * a),
              1e-12);
  std::vector<double> sine(5);
  FillWindow(6, sine); // sin^3 at j = 1 of M = 4
  EXPECT_NEAR(sine[1], std::pow(std::sin(kPi / 4.0), 3.0), 1e-12);
  std::vector<double> one(1, 0.0);
  FillWindow(4, one);
  EXPECT_EQ(one[0], 1.0);
}

// The interpolation formula, written out.
double CatmullRom(double y0, double y1, double y2, double y3, double u) {
  return y1 + u * (0.5 * (y2 - y0) + u * (y0 - 2.5 * y1 + 2 * y2 - 0.5 * y3 +
                                          u * (1.5 * (y1 - y2) + 0.5 * (y3 - y0))));
}

TEST(CubicInterpolation, HitsTheDataReproducesLinesAndHoldsTheEnds) {
  const std::vector<double> v{4.0, 1.0, 3.0, 7.0, 2.0, 5.0};
  const struct {
    double pos;
    double expected;
  } cases[] = {
      {1.0, 1.0},
      {2.0, 3.0},
      {2.5, CatmullRom(1, 3, 7, 2, 0.5)},
      {4.0, 2.0},
      {4.5, CatmullRom(7, 2, 5, 5, 0.5)}, // k + 2 past the end repeats the last value
      {5.0, 5.0},                         // the last value
      {9.0, 5.0},                         // past the end: held
      {0.0, CatmullRom(4, 1, 3, 7, -1)},  // k is at least 1, so u = -1
      {0.5, CatmullRom(4, 1, 3, 7, -0.5)},
      {-3.0, CatmullRom(4, 1, 3, 7, -1)}, // before the start: as position 0
      {std::nan(""), 5.0},
  };
  for (const auto& c : cases) EXPECT_NEAR(CubicAt(v, c.pos), c.expected, 1e-12) << c.pos;
  // A straight line stays straight between the data points.
  const std::vector<double> line{0.0, 2.0, 4.0, 6.0, 8.0, 10.0};
  for (double pos : {1.0, 1.25, 2.5, 3.75, 4.0}) EXPECT_NEAR(CubicAt(line, pos), 2.0 * pos, 1e-12);
  EXPECT_EQ(CubicAt({}, 3.0), 0.0);
  EXPECT_EQ(CubicAt(std::vector<double>{2.5}, 0.7), 2.5);
}

TEST(LogAxis, PositionsRunFromTheLowestToTheHighestFrequency) {
  std::vector<double> pos(2048);
  LogBinPositions(pos, 20.0, 20480.0, 44100.0);
  const double binHz = 22050.0 / 2048.0; // 10.77 Hz
  EXPECT_NEAR(pos[0], 20.0 / binHz, 1e-9);
  EXPECT_NEAR(pos[1024], 20.0 * 32.0 / binHz, 1e-9); // halfway: 640 Hz
  EXPECT_NEAR(pos[2047], 20.0 * std::pow(1024.0, 2047.0 / 2048.0) / binHz, 1e-9);
  EXPECT_LT(pos[2047] + 2.0, 2048.0); // the editor's range never runs out of bins

  // Resampling a flat spectrum keeps it flat, also where the axis runs past
  // the bins (a range above half the sample rate).
  std::vector<double> flat(2048, 1.0), out(2048);
  LogBinPositions(pos, 20.0, 40000.0, 44100.0);
  ResampleAt(flat, pos, out);
  for (double v : out) EXPECT_NEAR(v, 1.0, 1e-12);
}

TEST(Columns, LevelsMapToDistancesFromTheTop) {
  const float h = 450.f;
  std::vector<float> columns(672);
  // Magnitude 1 is 0 dB: 30 % down with +30 dB at the top over 100 dB.
  LevelColumns(std::vector<double>(2048, 1.0), columns, h, 100.0, 30.0);
  for (float v : columns) EXPECT_NEAR(v, 135.f, 1e-3);
  // Silence is floored at -100 dB: 130 % down, below the bottom.
  LevelColumns(std::vector<double>(2048, 0.0), columns, h, 100.0, 30.0);
  for (float v : columns) EXPECT_NEAR(v, 585.f, 1e-3);
  // 10 is +20 dB; the default range puts it at (30 - 20) / 80 of the height.
  LevelColumns(std::vector<double>(2048, 10.0), columns, h, 80.0, 30.0);
  EXPECT_NEAR(columns[0], 56.25f, 1e-3);
  // Column c reads index c * 2048 / 672: a ramp shows at its own place.
  std::vector<double> ramp(2048);
  for (size_t i = 0; i < ramp.size(); ++i)
    ramp[i] = std::pow(10.0, -static_cast<double>(i) / 2048.0);
  LevelColumns(ramp, columns, 100.f, 100.0, 0.0);
  EXPECT_NEAR(columns[336], 20.0 * 1024.0 / 2048.0, 1e-3);
  // Negative or missing magnitudes count as the floor.
  std::vector<double> odd{-1.0, std::nan(""), -1.0, -1.0};
  std::vector<float> two(2);
  LevelColumns(odd, two, 100.f, 100.0, 0.0);
  EXPECT_NEAR(two[0], 100.f, 1e-3);
}

TEST(Columns, BallisticsFallSlowlyRiseFastAndClampingKeepsInside) {
  const float h = 100.f;
  const float rise = std::exp(-1.f / 30.f), fall = std::exp(-1.f / 3.f);
  const std::vector<float> target{50.f, 50.f, 50.f};
  std::vector<float> smoothed{10.f, 90.f, 50.f};
  ApplyBallistics(target, smoothed, h);
  EXPECT_NEAR(smoothed[0], 50.f - 40.f * rise, 1e-4); // level dropped: slow
  EXPECT_NEAR(smoothed[1], 50.f + 40.f * fall, 1e-4); // level rose: fast
  EXPECT_EQ(smoothed[2], 50.f);
  for (int i = 0; i < 2000; ++i) ApplyBallistics(target, smoothed, h);
  for (float v : smoothed) EXPECT_NEAR(v, 50.f, 1e-3);

  std::vector<float> columns{-5.f, 0.f, 37.5f, 100.f, 130.f, std::nanf("")};
  ClampColumns(columns, h);
  EXPECT_EQ(columns, (std::vector<float>{0.f, 0.f, 37.5f, 100.f, 100.f, 100.f}));
}

TEST(Columns, SimplifiedCurveStaysWithinTheToleranceOfEveryColumn) {
  const struct {
    std::vector<float> ys;
    std::vector<size_t> keep;
  } shapes[] = {
      {{}, {}},
      {{5.f}, {0}},
      {{5.f, 9.f}, {0, 1}},
      {{0, 1, 2, 3, 4, 5, 6}, {0, 6}},              // a straight line: its ends
      {{0, 1, 2, 3, 2, 1, 0}, {0, 3, 6}},           // a peak keeps its top
      {{0, 0, 0, 0.05f, 0, 0, 0}, {0, 6}},          // a ripple under the tolerance goes
      {{10, 10, 10, 10, 40, 40, 40}, {0, 3, 4, 6}}, // a step keeps both corners
  };
  for (const auto& s : shapes) {
    std::vector<size_t> keep;
    SimplifyPolyline(s.ys, 0.1f, keep);
    EXPECT_EQ(keep, s.keep) << s.ys.size();
  }
  // A jagged curve: every dropped column lies near the line drawn past it.
  std::mt19937 rng(11);
  std::normal_distribution<float> noise(0.f, 0.3f);
  std::vector<float> ys(672);
  for (size_t i = 0; i < ys.size(); ++i) ys[i] = 200.f + 80.f * std::sin(i / 60.f) + noise(rng);
  std::vector<size_t> keep;
  SimplifyPolyline(ys, 0.1f, keep);
  ASSERT_EQ(keep.front(), 0u);
  ASSERT_EQ(keep.back(), ys.size() - 1);
  EXPECT_LT(keep.size(), ys.size());
  for (size_t k = 0; k + 1 < keep.size(); ++k) {
    const size_t a = keep[k], b = keep[k + 1];
    ASSERT_LT(a, b);
    for (size_t i = a + 1; i < b; ++i) {
      const float onLine = ys[a] + (ys[b] - ys[a]) * (i - a) / static_cast<float>(b - a);
      EXPECT_NEAR(ys[i], onLine, 0.1f + 1e-4f) << i;
    }
  }
}

TEST(GridAndReadout, PositionsAndTexts) {
  EXPECT_NEAR(FrequencyFraction(20.0, 20.0, 20480.0), 0.0, 1e-12);
  EXPECT_NEAR(FrequencyFraction(640.0, 20.0, 20480.0), 0.5, 1e-12);
  EXPECT_NEAR(FrequencyFraction(100.0, 20.0, 20480.0), std::log2(5.0) / 10.0, 1e-12);
  EXPECT_NEAR(LevelFraction(0.0, 30.0, 100.0), 0.3, 1e-12);
  EXPECT_NEAR(LevelFraction(-60.0, 30.0, 100.0), 0.9, 1e-12);
  EXPECT_EQ(LevelFraction(40.0, 30.0, 100.0), 0.0); // above the top

  EXPECT_NEAR(FrequencyAtFraction(0.0, 20.0, 20480.0), 20.0, 1e-9);
  EXPECT_NEAR(FrequencyAtFraction(0.6, 20.0, 20480.0), 1280.0, 1e-6);
  EXPECT_NEAR(LevelAtFraction(0.3, 30.0, 100.0), 0.0, 1e-12);
  const struct {
    double freq;
    const char* text;
  } freqs[] = {{20.0, "Freq:   20 Hz"},
               {999.4, "Freq:  999 Hz"},
               {1000.0, "Freq: 1.000 kHz"},
               {FrequencyAtFraction(0.6, 20, 20480), "Freq: 1.280 kHz"},
               {20480.0, "Freq: 20.480 kHz"}};
  for (const auto& f : freqs) EXPECT_EQ(FrequencyReadoutText(f.freq), f.text);
  EXPECT_EQ(GainReadoutText(-12.34), "Gain: -12.3 dB");
  EXPECT_EQ(GainReadoutText(3.0), "Gain:  3.0 dB");
  EXPECT_EQ(GainReadoutText(-0.04), "Gain:  0.0 dB");
  EXPECT_EQ(GainReadoutText(-0.05), "Gain: -0.1 dB");
  EXPECT_EQ(LevelLabelText(-60.0), " -60 dB");
  EXPECT_EQ(LevelLabelText(6.0), "   6 dB");
}

TEST(GridAndReadout, BoxSitsRightOfThePointerUnlessNearTheRightEdge) {
  const Rect graph(1200, 685, 1872, 1135); // 672 wide
  const struct {
    float x;
    bool right;
  } cases[] = {{1200, true}, {1771, true}, {1772, false}, {1871, false}};
  for (const auto& c : cases) {
    const ReadoutBoxes b = ReadoutBoxesAt(graph, c.x, 900);
    const float l = c.right ? c.x + 10 : c.x - 90;
    EXPECT_EQ(b.background, Rect(l, 910, l + 90, 938)) << c.x;
    EXPECT_EQ(b.frequencyText, Rect(l, 910, l + 90, 928)) << c.x;
    EXPECT_EQ(b.gainText, Rect(l, 910, l + 90, 948)) << c.x;
  }
}

} // namespace
