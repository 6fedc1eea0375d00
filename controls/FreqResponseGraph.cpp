#include "controls/FreqResponseGraph.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "controls/GraphLabels.h"

namespace igraphics {

namespace {

const Color kGridColor(255, 120, 120, 120);
constexpr float kGridLabelSize = 18.f;
constexpr float kCurveThickness = 3.f;
// Points of the curve closer than this to the line through their neighbours
// are not drawn: invisible under a 3-unit stroke, and most of its cost.
constexpr float kCurveTolerance = 0.1f;
constexpr size_t kMaxFftSize = 65536;

// The frequency grid lines that carry a label, and their labels.
constexpr struct {
  int line;
  const char* text;
} kFreqLabels[] = {{2, "50Hz"}, {3, "100Hz"}, {7, "500Hz"},
                   {8, "1kHz"}, {12, "5kHz"}, {13, "10kHz"}};

bool Finite(double v) {
  return std::isfinite(v);
}

} // namespace

IFreqResponseGraph::IFreqResponseGraph(const Rect& bounds, const Color& curveColor)
    : IControl(bounds), mCurveColor(curveColor), mLabelText(14.f, COLOR_BLACK, "Roboto-Regular") {
  Allocate(mFftSize);
  ComputeGridPositions();
  BoundsChanged();
}

void IFreqResponseGraph::SetSamples(std::span<const double> samples) {
  const size_t n = mFftSize;
  for (size_t j = 0; j < n; ++j) {
    const double s = j < samples.size() && Finite(samples[j]) ? samples[j] : 0.0;
    mRe[j] = s * mWindow[j];
    mIm[j] = 0.0;
  }
  mFft.Transform(mRe, mIm);
  mMaxMagnitude = 0.0;
  for (size_t i = 0; i < n / 2; ++i) {
    mMagnitude[i] = std::sqrt(mRe[i] * mRe[i] + mIm[i] * mIm[i]);
    mMaxMagnitude = std::max(mMaxMagnitude, mMagnitude[i]);
  }
  ComputeCurve(!mNoBallistics);
  Redraw();
}

void IFreqResponseGraph::SetSampleRate(double rate) {
  if (!Finite(rate) || rate <= 0.0) return;
  mSampleRate = rate;
  ComputeBinPositions();
  ComputeCurve(false);
  Redraw();
}

void IFreqResponseGraph::SetFftSize(int n) {
  const auto size = static_cast<size_t>(std::max(n, 0));
  if (size < 2 || size > kMaxFftSize || !IsPowerOfTwo(size)) return;
  Allocate(size);
  ComputeColumns(false);
  Redraw();
}

void IFreqResponseGraph::Allocate(size_t size) {
  mFftSize = size;
  if (mFft.Size() != size) mFft = RadixTwoFft(size);
  mWindow.assign(size, 0.0);
  FillWindow(mWindowType, mWindow);
  mRe.assign(size, 0.0);
  mIm.assign(size, 0.0);
  mMagnitude.assign(size, 0.0);
  mLogSpectrum.assign(size, 0.0);
  mMaxMagnitude = 0.0;
  ComputeBinPositions();
}

void IFreqResponseGraph::SetNoBallistics(bool noBallistics) {
  mNoBallistics = noBallistics;
}

void IFreqResponseGraph::SetRange(double minFreq, double maxFreq, double levelRange,
                                  double topLevel) {
  if (!Finite(minFreq) || !Finite(maxFreq) || !Finite(levelRange) || !Finite(topLevel) ||
      minFreq <= 0.0 || maxFreq <= minFreq || levelRange <= 0.0)
    return;
  mMinFreq = minFreq;
  mMaxFreq = maxFreq;
  mLevelRange = levelRange;
  mTopLevel = topLevel;
  ComputeGridPositions();
  ComputeBinPositions();
  ComputeCurve(false);
  Redraw();
}

void IFreqResponseGraph::SetWindowType(int type) {
  mWindowType = type >= 0 && type < kNumWindowTypes ? type : 0;
  FillWindow(mWindowType, mWindow);
}

void IFreqResponseGraph::MouseOver(float x, float y, const MouseModifiers& mod) {
  mPointerX = x;
  mPointerY = y;
  mPointerOver = true;
  Redraw();
}

void IFreqResponseGraph::MouseLeave() {
  mPointerOver = false;
  Redraw();
}

void IFreqResponseGraph::BoundsChanged() {
  const auto w = static_cast<size_t>(std::max(0.f, std::floor(mBounds.W())));
  mTarget.assign(w, 0.f);
  mColumns.assign(w, 0.f);
  mSmoothed.assign(w, 0.f);
  // Room for the worst case, so that new samples never allocate.
  mCurveIndices.reserve(w + 1);
  mRunStarts.reserve(w / 2 + 1);
  ComputeColumns(false);
}

void IFreqResponseGraph::ComputeGridPositions() {
  for (int i = 0; i < kNumFreqGridLines; ++i)
    mFreqGridPos[i] = FrequencyFraction(mFreqGrid[i], mMinFreq, mMaxFreq);
  for (int i = 0; i < kNumLevelGridLines; ++i)
    mLevelGridPos[i] = LevelFraction(mLevelGrid[i], mTopLevel, mLevelRange);
}

void IFreqResponseGraph::ComputeBinPositions() {
  mBinPositions.resize(mFftSize / 2);
  LogBinPositions(mBinPositions, mMinFreq, mMaxFreq, mSampleRate);
}

void IFreqResponseGraph::ComputeCurve(bool smooth) {
  const size_t bins = mFftSize / 2;
  ResampleAt(std::span(mMagnitude).first(bins), mBinPositions, std::span(mLogSpectrum).first(bins));
  ComputeColumns(smooth);
}

void IFreqResponseGraph::ComputeColumns(bool smooth) {
  const float h = mBounds.H();
  LevelColumns(std::span(mLogSpectrum).first(mFftSize / 2), mTarget, h, mLevelRange, mTopLevel);
  if (smooth)
    ApplyBallistics(mTarget, mSmoothed, h);
  else
    std::copy(mTarget.begin(), mTarget.end(), mSmoothed.begin());
  std::copy(mSmoothed.begin(), mSmoothed.end(), mColumns.begin());
  ClampColumns(mColumns, h);
  BuildCurvePath();
}

// A segment is drawn from each column strictly inside the graph to the next
// one; runs of such segments become polylines with the points a drawing
// needs.
void IFreqResponseGraph::BuildCurvePath() {
  const float h = mBounds.H();
  const auto inside = [&](size_t c) { return mColumns[c] > 0.f && mColumns[c] < h; };
  mCurveIndices.clear();
  mRunStarts.clear();
  const size_t n = mColumns.size();
  for (size_t c = 0; c + 1 < n;) {
    if (!inside(c)) {
      ++c;
      continue;
    }
    size_t end = c + 1;
    while (end + 1 < n && inside(end)) ++end;
    const size_t before = mCurveIndices.size();
    mRunStarts.push_back(before);
    SimplifyPolyline(std::span(mColumns).subspan(c, end - c + 1), kCurveTolerance, mCurveIndices);
    for (size_t k = before; k < mCurveIndices.size(); ++k) mCurveIndices[k] += c;
    c = end;
  }
}

void IFreqResponseGraph::Draw(DrawContext& g) {
  DrawGrid(g);
  DrawCurve(g);
  if (mPointerOver) DrawReadout(g);
}

void IFreqResponseGraph::DrawGrid(DrawContext& g) const {
  const float l = mBounds.L, t = mBounds.T, w = mBounds.W(), h = mBounds.H();
  std::array<std::string, kNumLevelGridLines> levelTexts;
  for (int i = 0; i < kNumLevelGridLines; ++i) levelTexts[i] = LevelLabelText(mLevelGrid[i]);
  const TextStyle label = FittedLabelStyle(
      g, mLabelText.WithSize(kGridLabelSize).WithFGColor(kGridColor), levelTexts, kEdgeLabelRoom);
  for (int i = 0; i < kNumFreqGridLines; ++i) {
    const float x = l + w * static_cast<float>(mFreqGridPos[i]);
    g.DrawLine(kGridColor, x, t + 20.f, x, t + h - 1.f, 1.f);
  }
  for (const auto& [line, text] : kFreqLabels) {
    const float x = l + w * static_cast<float>(mFreqGridPos[line]);
    g.DrawText(label, text, Rect(x - 20.f, t, x + 20.f, t + 20.f));
  }
  const TextStyle edgeLabel = label.WithAlign(EAlign::Far);
  for (int i = 0; i < kNumLevelGridLines; ++i) {
    const float y = t + h * static_cast<float>(mLevelGridPos[i]);
    g.DrawLine(kGridColor, l, y, l + w - 40.f, y, mLevelGrid[i] == 0.0 ? 2.f : 1.f);
    g.DrawText(edgeLabel, LabelText(levelTexts[i]), EdgeLabelBox(mBounds, y));
  }
}

void IFreqResponseGraph::DrawCurve(DrawContext& g) const {
  if (mCurveIndices.empty()) return;
  const float l = mBounds.L, t = mBounds.T;
  g.PathClear();
  for (size_t r = 0; r < mRunStarts.size(); ++r) {
    const size_t first = mRunStarts[r];
    const size_t last = r + 1 < mRunStarts.size() ? mRunStarts[r + 1] : mCurveIndices.size();
    for (size_t k = first; k < last; ++k) {
      const size_t c = mCurveIndices[k];
      const float x = l + static_cast<float>(c), y = t + mColumns[c];
      if (k == first)
        g.PathMoveTo(x, y);
      else
        g.PathLineTo(x, y);
    }
  }
  StrokeOptions options;
  options.join = ELineJoin::Round;
  options.cap = ELineCap::Round;
  g.PathStroke(mCurveColor, kCurveThickness, options);
}

void IFreqResponseGraph::DrawReadout(DrawContext& g) const {
  const float w = mBounds.W(), h = mBounds.H();
  if (w <= 0.f || h <= 0.f) return;
  const double freq = FrequencyAtFraction((mPointerX - mBounds.L) / w, mMinFreq, mMaxFreq);
  const double level = LevelAtFraction((mPointerY - mBounds.T) / h, mTopLevel, mLevelRange);
  const ReadoutBoxes boxes = ReadoutBoxesAt(mBounds, mPointerX, mPointerY);
  // Above 10 kHz the frequency is one digit longer than the box is wide.
  const std::array<std::string, 2> texts{FrequencyReadoutText(freq), GainReadoutText(level)};
  const TextStyle style = FittedLabelStyle(g, mLabelText, texts, boxes.background.W() - 4.f);
  g.FillRect(mCurveColor, boxes.background);
  g.DrawText(style, texts[0], boxes.frequencyText);
  g.DrawText(style, texts[1], boxes.gainText);
}

} // namespace igraphics
