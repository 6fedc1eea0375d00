#pragma once

#include <array>
#include <span>
#include <vector>

#include "controls/FreqResponseMath.h"
#include "controls/IControl.h"

namespace igraphics {

// The magnitude response of the cabinet's impulse response over a labelled
// grid: frequency on a logarithmic axis, level in decibels. While the
// pointer is over it, a box next to the pointer shows the frequency and
// level there. It has no parameter.
//
// Like every control it lives on the user-interface thread: SetSamples and
// the other setters must be called there. SetSamples is cheap enough for
// that (one 4096-point transform and a pass over the columns, into buffers
// allocated beforehand; see bench/bench_freq_response.cpp); a caller on
// another thread hands the samples over first.
class IFreqResponseGraph : public IControl {
public:
  static constexpr int kNumFreqGridLines = 14;
  static constexpr int kNumLevelGridLines = 9;

  IFreqResponseGraph(const Rect& bounds, const Color& curveColor);

  // ---- Virtual operations added to IControl's, in slot order ----
  // Takes the first FftSize() samples (missing ones count as 0, non-numbers
  // as 0), computes the curve and redraws.
  virtual void SetSamples(std::span<const double> samples);
  // Ignored unless positive and finite.
  virtual void SetSampleRate(double rate);
  // A power of two from 2 to 65536, else ignored. The buffers start zeroed,
  // so the curve disappears until the next samples.
  virtual void SetFftSize(int n);
  virtual void SetNoBallistics(bool noBallistics);
  // Ignored unless 0 < minFreq < maxFreq and levelRange > 0, all finite.
  virtual void SetRange(double minFreq, double maxFreq, double levelRange, double topLevel);

  void SetWindowType(int type);

  void MouseOver(float x, float y, const MouseModifiers& mod) override;
  void MouseLeave() override;
  void BoundsChanged() override;
  void Draw(DrawContext& g) override;

  int FftSize() const { return static_cast<int>(mFftSize); }
  double SampleRate() const { return mSampleRate; }
  // Per bin, the first FftSize() / 2 are computed.
  std::span<const double> Magnitude() const { return mMagnitude; }
  double MaxMagnitude() const { return mMaxMagnitude; }
  // Per pixel column, the curve's distance from the top edge, 0 .. height.
  std::span<const float> Columns() const { return mColumns; }
  std::span<const double> FreqGridPositions() const { return mFreqGridPos; }
  std::span<const double> LevelGridPositions() const { return mLevelGridPos; }

private:
  // Sets N and gives every N-sized buffer N zeros.
  void Allocate(size_t size);
  void ComputeGridPositions();
  void ComputeBinPositions();
  // The log spectrum from the magnitudes, then the columns. A new range or
  // sample rate redraws the kept spectrum at once, without smoothing.
  void ComputeCurve(bool smooth);
  // Columns from the log spectrum; through the ballistics when `smooth`.
  void ComputeColumns(bool smooth);
  void BuildCurvePath();
  void DrawGrid(DrawContext& g) const;
  void DrawCurve(DrawContext& g) const;
  void DrawReadout(DrawContext& g) const;

  Color mCurveColor;
  TextStyle mLabelText;
  size_t mFftSize = 4096;
  double mSampleRate = 44100.0;
  int mWindowType = 0;
  double mMinFreq = 20.0;
  double mMaxFreq = 20480.0;
  double mLevelRange = 80.0;
  double mTopLevel = 30.0;
  bool mNoBallistics = false;
  std::array<double, kNumFreqGridLines> mFreqGrid{30,  40,   50,   100,  200,  300,  400,
                                                  500, 1000, 2000, 3000, 4000, 5000, 10000};
  std::array<double, kNumLevelGridLines> mLevelGrid{-60, -40, -20, -12, -6, 0, 6, 12, 20};
  std::array<double, kNumFreqGridLines> mFreqGridPos{};
  std::array<double, kNumLevelGridLines> mLevelGridPos{};

  RadixTwoFft mFft{4096};
  std::vector<double> mWindow;
  std::vector<double> mRe, mIm; // transform work space
  std::vector<double> mMagnitude;
  double mMaxMagnitude = 0.0;
  std::vector<double> mBinPositions; // fractional bin of each log-axis point
  std::vector<double> mLogSpectrum;
  std::vector<float> mTarget; // new column values before smoothing
  std::vector<float> mColumns;
  std::vector<float> mSmoothed;
  std::vector<size_t> mCurveIndices; // columns the curve's polylines pass through
  std::vector<size_t> mRunStarts;    // where each polyline starts in mCurveIndices
  float mPointerX = 0.f;
  float mPointerY = 0.f;
};

} // namespace igraphics
