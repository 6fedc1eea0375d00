#pragma once

#include <string>

#include "controls/ButtonControls.h"
#include "controls/PanelControls.h"
#include "controls/TextControls.h"

namespace igraphics {

// A framed number with optional "+" and "-" buttons. Dragging up raises the
// number by one increment per unit (a tenth of it with shift or control),
// the wheel by one increment per notch; a double click on the number opens
// the text entry. The number is kept in the parameter's own units, limited
// to its range, and shown through a child label.
class IVNumberBoxControl : public IContainerBase, public IVectorBase {
public:
  static constexpr int kMaxTextLength = 32;

  IVNumberBoxControl(const Rect& bounds, int paramIdx = kNoParameter,
                     IActionFunction action = nullptr, std::string label = {},
                     const VectorStyle& style = kDefaultVectorStyle, bool showButtons = false,
                     double defaultValue = 50.0, double minValue = 1.0, double maxValue = 100.0,
                     std::string format = "%0.0f", bool drawTriangle = true);

  double RealValue() const { return mRealValue; }
  double MinValue() const { return mMinValue; }
  double MaxValue() const { return mMaxValue; }
  const std::string& Format() const { return mFormat; }
  void SetIncrements(double large, double fine);
  IVLabelControl* LabelControl() const { return mLabelControl; }
  IVButtonControl* IncButton() const { return mIncButton; }
  IVButtonControl* DecButton() const { return mDecButton; }
  bool IsMouseDown() const { return mMouseIsDown; }
  // The text the label shows for a number.
  std::string FormatNumber(double value) const;

  void Attached() override;
  void BoundsChanged() override;
  void ScaleChanged() override;
  void MouseDown(float x, float y, const MouseModifiers& mod) override;
  void MouseUp(float x, float y, const MouseModifiers& mod) override;
  void MouseDrag(float x, float y, float dX, float dY, const MouseModifiers& mod) override;
  void MouseWheel(float x, float y, const MouseModifiers& mod, float delta) override;
  void MouseDoubleClick(float x, float y, const MouseModifiers& mod) override;
  void TextEntered(const std::string& text, int valueIndex) override;
  void ApplyParamValue(double value, int valueIndex = 0) override;
  void ApplyUserValue(double value, int valueIndex = 0) override;
  void Draw(DrawContext& g) override;

private:
  // Clamps the number and shows it; with `notify` and a parameter, the
  // parameter follows and the action runs.
  void OnValueChanged(bool notify);
  double ToReal(double normalized) const;
  double ToNormalized(double real) const;
  Rect LabelRect() const;

  double mRealValue;
  double mMinValue;
  double mMaxValue;
  std::string mFormat;
  double mLargeIncrement = 1.0;
  double mFineIncrement = 0.1;
  bool mHideCursorOnDrag = true;
  bool mShowButtons;
  bool mDrawTriangle;
  bool mMouseIsDown = false;
  IVLabelControl* mLabelControl = nullptr;
  IVButtonControl* mIncButton = nullptr;
  IVButtonControl* mDecButton = nullptr;
};

// True for a printf format with exactly one floating-point conversion (and
// any number of "%%"); other formats could read arguments that are not there.
bool IsSafeNumberFormat(const std::string& format);

} // namespace igraphics
