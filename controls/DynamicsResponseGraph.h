#pragma once

#include "controls/DynamicsCurveMath.h"
#include "controls/IControl.h"

namespace igraphics {

// The static input/output curve of the dynamics section over a level grid:
// a 1:1 line between the gate threshold (lower knee) and the compressor
// threshold (upper knee), bent below the lower knee by the gate ratio and
// above the upper knee by the compressor (or expander) ratio, with a ring
// on each knee. No parameter, no mouse; the editor feeds it the four numbers
// on the user-interface thread.
class IDynamicsResponseGraph : public IControl {
public:
  IDynamicsResponseGraph(const Rect& bounds, const Color& curveColor);

  // ---- Virtual operations added to IControl's, in slot order ----
  // Thresholds in dB (0 at the top right, -100 at the bottom left); a
  // non-number is ignored.
  virtual void SetLowerThreshold(float db);
  virtual void SetUpperThreshold(float db);
  // Slope factors; negative ones count as 0, non-numbers are ignored.
  virtual void SetLowerSlope(float factor);
  virtual void SetUpperSlope(float factor);

  void Draw(DrawContext& g) override;

  float LowerKnee() const { return mKnees.lower; }
  float UpperKnee() const { return mKnees.upper; }
  float LowerSlope() const { return mLowerSlope; }
  float UpperSlope() const { return mUpperSlope; }
  DynamicsCurve Curve() const;

private:
  void DrawGrid(DrawContext& g) const;

  DynamicsKnees mKnees;
  float mLowerSlope = 1.f;
  float mUpperSlope = 1.f;
  Color mCurveColor;
};

} // namespace igraphics
