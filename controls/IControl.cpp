#include "controls/IControl.h"

#include <algorithm>
#include <cmath>

#include "controls/IGraphics.h"
#include "controls/IPopupMenu.h"
#include "controls/ParamValues.h"
#include "plugin/IPlugAPIBase.h"

namespace igraphics {

namespace {
// Size of the text prompt opened for parameters without display texts.
constexpr float kPromptWidth = 40.f;
constexpr float kPromptHeight = 16.f;
} // namespace

IControl::IControl(const Rect& bounds, int paramIdx, IActionFunction action)
    : mBounds(bounds), mHitBounds(bounds), mAction(std::move(action)) {
  mValueSlots.push_back({paramIdx, 0.0});
}

IControl::IControl(const Rect& bounds, const std::vector<int>& params, IActionFunction action)
    : mBounds(bounds), mHitBounds(bounds), mAction(std::move(action)) {
  for (int p : params) mValueSlots.push_back({p, 0.0});
  if (mValueSlots.empty()) mValueSlots.push_back({kNoParameter, 0.0});
}

IControl::~IControl() = default;

void IControl::SetOwners(IGraphics* graphics, iplug::IPlugAPIBase* delegate, std::string group) {
  mOwnerGraphics = graphics;
  mOwnerDelegate = delegate;
  mGroup = std::move(group);
}

// ---- mouse ----------------------------------------------------------------

void IControl::MouseDown(float x, float y, const MouseModifiers& mod) {
  if (mod.R) PromptForSlot(ValueSlotAt(x, y));
  Redraw();
}

bool IControl::PromptForSlot(int valueIndex) {
  if (mPromptDisabled || mOwnerGraphics == nullptr) return false;
  const iplug::IParam* param = GetParam(valueIndex);
  if (param == nullptr) return false;
  const Rect rect =
      param->NValueTexts() > 0 ? mBounds : mBounds.CentredInside(kPromptWidth, kPromptHeight);
  return mOwnerGraphics->PromptParameterValue(this, rect, valueIndex);
}

void IControl::MouseDoubleClick(float x, float y, const MouseModifiers& mod) {
  ResetToDefault(ValueSlotAt(x, y));
}

void IControl::MouseOver(float x, float y, const MouseModifiers& mod) {
  if (!mPointerOver) Redraw();
  mPointerOver = true;
}

void IControl::MouseLeave() {
  if (mPointerOver) Redraw();
  mPointerOver = false;
}

void IControl::FilesDropped(const std::vector<std::string>& paths) {
  if (!paths.empty()) FileDropped(paths.front());
}

bool IControl::MessageReceived(int key, int size, const void* data) {
  const auto it = mMessageHandlers.find(key);
  return it != mMessageHandlers.end() && it->second(size, data);
}

void IControl::SetMessageHandler(int key, std::function<bool(int, const void*)> handler) {
  if (handler) {
    mMessageHandlers[key] = std::move(handler);
  } else {
    mMessageHandlers.erase(key);
  }
}

void IControl::MenuItemChosen(IPopupMenu* menu, int valueIndex) {
  if (menu == nullptr || menu->ChosenItem() == nullptr) return;
  const iplug::IParam* param = GetParam(valueIndex);
  if (param == nullptr) return;
  const int item = menu->ChosenIndex();
  const double step = param->Step() > 0.0 ? param->Step() : 1.0;
  ApplyUserValue(param->Normalize(param->Min() + item * step), valueIndex);
}

void IControl::DrawParamHighlight(DrawContext& g) {
  if (LinkedParam(0) < 0) return;
  const float r = 5.f;
  g.FillCircle(Color(255, 255, 140, 0), mBounds.R - r, mBounds.T + r, r);
}

// ---- values ---------------------------------------------------------------

void IControl::LinkParam(int paramIdx, int valueIndex) {
  if (valueIndex < 0 || valueIndex >= NValues()) return;
  mValueSlots[static_cast<size_t>(valueIndex)].paramIdx = paramIdx;
  Redraw();
}

int IControl::ValueSlotAt(float x, float y) const {
  return NValues() == 1 ? 0 : kAllValues;
}

double IControl::Value(int valueIndex) const {
  if (valueIndex < 0 || valueIndex >= NValues()) return 0.0;
  return mValueSlots[static_cast<size_t>(valueIndex)].value;
}

int IControl::LinkedParam(int valueIndex) const {
  if (valueIndex < 0 || valueIndex >= NValues()) return kNoParameter;
  return mValueSlots[static_cast<size_t>(valueIndex)].paramIdx;
}

const iplug::IParam* IControl::GetParam(int valueIndex) const {
  const int idx = LinkedParam(valueIndex);
  if (idx < 0 || mOwnerDelegate == nullptr) return nullptr;
  return mOwnerDelegate->ParamAt(idx);
}

void IControl::SetValue(double value, int valueIndex) {
  if (valueIndex == kAllValues) {
    for (ValueSlot& slot : mValueSlots) slot.value = value;
  } else if (valueIndex >= 0 && valueIndex < NValues()) {
    mValueSlots[static_cast<size_t>(valueIndex)].value = value;
  }
}

void IControl::ApplyParamValue(double value, int valueIndex) {
  // The user's drag wins over values coming back from the parameter side.
  if (HoldsMouse()) return;
  if (valueIndex < 0 || valueIndex >= NValues() || Value(valueIndex) == value) return;
  SetValue(value, valueIndex);
  MarkChanged(false, valueIndex);
}

void IControl::ApplyUserValue(double value, int valueIndex) {
  if (valueIndex < 0 || valueIndex >= NValues() || Value(valueIndex) == value) return;
  SetValue(value, valueIndex);
  MarkChanged(true, valueIndex);
}

void IControl::ResetToDefault(int valueIndex) {
  const iplug::IParam* param = GetParam(valueIndex);
  if (param == nullptr) return;
  SetValue(param->DefaultValue(true), valueIndex);
  MarkChanged(true, valueIndex);
}

void IControl::MarkChanged(bool triggerAction, int valueIndex) {
  const size_t first = valueIndex == kAllValues ? 0 : static_cast<size_t>(std::max(valueIndex, 0));
  const size_t last = valueIndex == kAllValues ? mValueSlots.size() : first + 1;
  if (valueIndex != kAllValues && (valueIndex < 0 || valueIndex >= NValues())) return;
  for (size_t i = first; i < last; ++i) {
    double& v = mValueSlots[i].value;
    // A NaN would pass any clamp unchanged and end up as a parameter value.
    v = std::isnan(v) ? 0.0 : std::clamp(v, 0.0, 1.0);
  }
  mChanged = true;
  if (!triggerAction) return;
  for (size_t i = first; i < last; ++i) {
    const ValueSlot slot = mValueSlots[i];
    if (slot.paramIdx >= 0 && mOwnerGraphics != nullptr)
      mOwnerGraphics->SendParameterValueFromUI(this, slot.paramIdx, slot.value);
  }
  if (mAction) mAction(this);
}

void IControl::ValueFromPointer(float x, float y, EDirection direction, const Rect& bounds,
                                int valueIndex, double scalar, double minimum, double maximum) {
  const double extent = direction == EDirection::Vertical ? bounds.H() : bounds.W();
  if (!(extent > 0.0)) return;
  double v = direction == EDirection::Vertical ? (bounds.B - y) / extent : (x - bounds.L) / extent;
  v = std::round(v / 0.001) * 0.001 * scalar;
  v = std::clamp(v, std::min(minimum, maximum), std::max(minimum, maximum));
  SetValue(v, valueIndex);
  MarkChanged(true, valueIndex);
}

// ---- geometry and state ----------------------------------------------------

void IControl::SetBounds(const Rect& bounds) {
  mBounds = bounds;
  mHitBounds = bounds;
  BoundsChanged();
  Redraw();
}

void IControl::MoveTo(float x, float y) {
  const float dx = x - mBounds.L;
  const float dy = y - mBounds.T;
  mBounds = mBounds.Translated(dx, dy);
  mHitBounds = mHitBounds.Translated(dx, dy);
  BoundsChanged();
  Redraw();
}

void IControl::ResizeTo(float width, float height) {
  mBounds = Rect::FromSize(mBounds.L, mBounds.T, width, height);
  mHitBounds = Rect::FromSize(mHitBounds.L, mHitBounds.T, width, height);
  BoundsChanged();
  Redraw();
}

void IControl::SetHidden(bool hidden) {
  mHidden = hidden;
  Redraw();
}

void IControl::SetDisabledState(bool disabled) {
  mDisabled = disabled;
  mOpacity = disabled ? 0.25f : 1.f;
  Redraw();
}

void IControl::SetTextColor(const Color& color) {
  mTextStyle.fgColor = color;
  Redraw();
}

bool IControl::HoldsMouse() const {
  return mOwnerGraphics != nullptr && mOwnerGraphics->HasCapture(this);
}

double IControl::NowMs() const {
  return mOwnerGraphics != nullptr ? mOwnerGraphics->NowMs() : 0.0;
}

// ---- animation --------------------------------------------------------------

void IControl::StartAnimation(IAnimationFunction step, double durationMs) {
  mAnimationStep = std::move(step);
  mAnimationStartMs = NowMs();
  mAnimationDurationMs = durationMs;
  Redraw();
}

double IControl::AnimationProgress() const {
  if (!mAnimationStep) return 0.0;
  // A zero duration is over at once rather than a division by zero.
  if (!(mAnimationDurationMs > 0.0)) return 2.0;
  return (NowMs() - mAnimationStartMs) / mAnimationDurationMs;
}

void IControl::Animate() {
  if (!mAnimationStep) return;
  // The step may end the animation (and replace the function), so it runs
  // from a copy.
  IAnimationFunction step = mAnimationStep;
  step(this);
}

void IControl::AnimationEnded() {
  mAnimationStep = nullptr;
  Redraw();
  if (mAnimationEndAction) mAnimationEndAction(this);
}

} // namespace igraphics
