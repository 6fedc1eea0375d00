#include "controls/DynamicsResponseGraph.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "controls/FreqResponseMath.h"
#include "controls/GraphLabels.h"

namespace igraphics {

namespace {

const Color kGridColor(255, 120, 120, 120);
constexpr float kLabelSize = 20.f;
constexpr float kCurveThickness = 3.f;

} // namespace

IDynamicsResponseGraph::IDynamicsResponseGraph(const Rect& bounds, const Color& curveColor)
    : IControl(bounds), mCurveColor(curveColor) {}

void IDynamicsResponseGraph::SetLowerThreshold(float db) {
  if (std::isnan(db)) return;
  mKnees.SetLower(KneeFromLevel(db));
  Redraw();
}

void IDynamicsResponseGraph::SetUpperThreshold(float db) {
  if (std::isnan(db)) return;
  mKnees.SetUpper(KneeFromLevel(db));
  Redraw();
}

void IDynamicsResponseGraph::SetLowerSlope(float factor) {
  if (!std::isfinite(factor)) return;
  mLowerSlope = std::max(factor, 0.f);
  Redraw();
}

void IDynamicsResponseGraph::SetUpperSlope(float factor) {
  if (!std::isfinite(factor)) return;
  mUpperSlope = std::max(factor, 0.f);
  Redraw();
}

DynamicsCurve IDynamicsResponseGraph::Curve() const {
  return ComputeDynamicsCurve(mBounds, mKnees.lower, mKnees.upper, mLowerSlope, mUpperSlope);
}

void IDynamicsResponseGraph::Draw(DrawContext& g) {
  DrawGrid(g);
  const DynamicsCurve c = Curve();
  g.PathClear();
  g.PathMoveTo(c.start.x, c.start.y);
  g.PathLineTo(c.lowerKnee.x, c.lowerKnee.y);
  g.PathLineTo(c.upperKnee.x, c.upperKnee.y);
  g.PathLineTo(c.end.x, c.end.y);
  StrokeOptions options;
  options.join = ELineJoin::Round;
  options.cap = ELineCap::Round;
  g.PathStroke(mCurveColor, kCurveThickness, options);
  for (const Point& knee : {c.lowerKnee, c.upperKnee}) {
    g.DrawCircle(mCurveColor, knee.x, knee.y, 20.f, 6.f);
    g.DrawCircle(mCurveColor, knee.x, knee.y, 4.f, 4.f);
  }
}

void IDynamicsResponseGraph::DrawGrid(DrawContext& g) const {
  const float l = mBounds.L, t = mBounds.T, w = mBounds.W(), h = mBounds.H();
  std::array<std::string, kDynamicsGridLevels.size()> texts;
  for (size_t i = 0; i < texts.size(); ++i) texts[i] = LevelLabelText(kDynamicsGridLevels[i]);
  const TextStyle label = FittedLabelStyle(g, TextStyle(kLabelSize, kGridColor, "Roboto-Regular"),
                                           texts, kEdgeLabelRoom);
  const TextStyle edgeLabel = label.WithAlign(EAlign::Far);
  for (size_t i = 0; i < texts.size(); ++i) {
    const float level = kDynamicsGridLevels[i];
    const float p = DynamicsGridPosition(level);
    const float y = t + h * p;
    g.DrawLine(kGridColor, l, y, l + w - 40.f, y, level == 0.f ? 2.f : 1.f);
    g.DrawText(edgeLabel, LabelText(texts[i]), EdgeLabelBox(mBounds, y));
    const float x = l + w - w * p;
    g.DrawLine(kGridColor, x, t + 20.f, x, t + h - 1.f, 1.f);
    g.DrawText(label, LabelText(texts[i]), Rect(x - 20.f, t, x + 20.f, t + 20.f));
  }
}

} // namespace igraphics
