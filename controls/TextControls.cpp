#include "controls/TextControls.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "controls/IGraphics.h"
#include "controls/ParamValues.h"

namespace igraphics {

// ---- ITextControl ------------------------------------------------------------

ITextControl::ITextControl(const Rect& bounds, std::string text, const TextStyle& style,
                           const Color& bgColor)
    : IControl(bounds), mText(std::move(text)), mBGColor(bgColor) {
  mTextStyle = style;
  mMouseTransparent = true;
}

void ITextControl::SetText(const std::string& text) {
  if (text == mText) return;
  mText = text;
  if (mAutoSize) FitToText();
  Redraw();
}

void ITextControl::SetTextFormatted(int maxLength, const char* format, ...) {
  if (format == nullptr || maxLength <= 0) {
    SetText(std::string());
    return;
  }
  std::string buffer(static_cast<size_t>(maxLength) + 1, '\0');
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(buffer.data(), buffer.size(), format, args);
  va_end(args);
  buffer.resize(n < 0 ? 0 : std::min(static_cast<size_t>(n), static_cast<size_t>(maxLength)));
  SetText(buffer);
}

void ITextControl::SetBackgroundColor(const Color& color) {
  mBGColor = color;
  Redraw();
}

void ITextControl::SetAutoSize(bool autoSize) {
  mAutoSize = autoSize;
  if (autoSize) FitToText();
}

void ITextControl::FitToText() {
  IGraphics* ui = GetUI();
  if (ui == nullptr) return;
  Rect box = mBounds;
  const float w = ui->MeasureText(mTextStyle, mText, box);
  if (w > 0.f) ResizeTo(w + 2.f, mBounds.H());
}

void ITextControl::DrawText(DrawContext& g, const TextStyle& style) const {
  if (mText.empty()) return;
  if (const IGraphics* ui = GetUI(); ui != nullptr && ui->IsEditing(this)) return;
  g.DrawText(style, mText, mBounds);
}

void ITextControl::Draw(DrawContext& g) {
  if (mBGColor.A > 0) g.FillRect(mBGColor, mBounds);
  DrawText(g, mTextStyle);
}

// ---- ICaptionControl ---------------------------------------------------------

ICaptionControl::ICaptionControl(const Rect& bounds, int paramIdx, const TextStyle& style,
                                 const Color& bgColor, bool showParamLabel)
    : ITextControl(bounds, {}, style, bgColor), mShowParamLabel(showParamLabel) {
  LinkParam(paramIdx);
  mMouseTransparent = false;
  mPromptDisabled = false;
}

void ICaptionControl::SetValue(double value, int valueIndex) {
  ITextControl::SetValue(value, valueIndex);
  UpdateText();
}

void ICaptionControl::UpdateText() {
  if (const iplug::IParam* param = GetParam())
    SetText(ParamDisplayText(*param, Value(), mShowParamLabel));
}

void ICaptionControl::MouseDown(float x, float y, const MouseModifiers& mod) {
  if (mod.L || mod.R) PromptForSlot(0);
  Redraw();
}

void ICaptionControl::Draw(DrawContext& g) {
  ITextControl::Draw(g);
  const iplug::IParam* param = GetParam();
  if (param == nullptr || param->Type() != iplug::IParam::kParamKindEnum) return;
  // The mark of a control that opens a menu: a small triangle at the far side.
  const float size = std::min(mBounds.H() * 0.3f, 10.f);
  const float right = mBounds.R - size * 0.6f;
  const float cy = mBounds.MH();
  g.FillTriangle(mTextStyle.fgColor, right - size, cy - size * 0.4f, right, cy - size * 0.4f,
                 right - size * 0.5f, cy + size * 0.4f);
}

// ---- IURLControl ---------------------------------------------------------------

IURLControl::IURLControl(const Rect& bounds, std::string text, std::string url,
                         const TextStyle& style, const Color& bgColor, const Color& mouseOverColor,
                         const Color& clickedColor)
    : ITextControl(bounds, std::move(text), style, bgColor), mURL(std::move(url)),
      mOverColor(mouseOverColor), mClickedColor(clickedColor) {
  mMouseTransparent = false;
}

void IURLControl::MouseDown(float x, float y, const MouseModifiers& mod) {
  if (!mod.L) return;
  if (IGraphics* ui = GetUI()) ui->OpenURL(mURL);
  mClicked = true;
  Redraw();
}

void IURLControl::MouseOver(float x, float y, const MouseModifiers& mod) {
  ITextControl::MouseOver(x, y, mod);
  if (IGraphics* ui = GetUI()) ui->SetMouseCursor(ECursor::Hand);
}

void IURLControl::MouseLeave() {
  ITextControl::MouseLeave();
  if (IGraphics* ui = GetUI()) ui->SetMouseCursor(ECursor::Arrow);
}

void IURLControl::Draw(DrawContext& g) {
  if (mBGColor.A > 0) g.FillRect(mBGColor, mBounds);
  const Color colour = mPointerOver ? mOverColor : mClicked ? mClickedColor : mTextStyle.fgColor;
  const TextStyle style = mTextStyle.WithFGColor(colour);
  DrawText(g, style);
  if (mPointerOver && !mText.empty()) { // underline under the text
    Rect box = mBounds;
    g.MeasureText(style, mText, box);
    g.DrawLine(colour, box.L, box.B - 1.f, box.R, box.B - 1.f, 1.f);
  }
}

// ---- IEditableTextControl --------------------------------------------------------

IEditableTextControl::IEditableTextControl(const Rect& bounds, std::string text,
                                           const TextStyle& style, const Color& bgColor)
    : ITextControl(bounds, std::move(text), style, bgColor) {
  mMouseTransparent = false;
}

void IEditableTextControl::MouseDown(float x, float y, const MouseModifiers& mod) {
  if (IGraphics* ui = GetUI()) ui->OpenTextEntry(this, mTextStyle, mBounds, mText, 0);
}

void IEditableTextControl::TextEntered(const std::string& text, int valueIndex) {
  SetText(text);
  MarkChanged(true);
}

// ---- IVLabelControl --------------------------------------------------------------

IVLabelControl::IVLabelControl(const Rect& bounds, std::string text, const VectorStyle& style)
    : ITextControl(bounds, std::move(text), style.valueText), IVectorBase(this, style) {}

void IVLabelControl::Draw(DrawContext& g) {
  const float radius = CornerRadius(mBounds);
  if (GetColor(kBG).A > 0) g.FillRoundRect(GetColor(kBG), mBounds, radius);
  if (mStyle.drawFrame && mStyle.frameThickness > 0.f) {
    const float t = mStyle.frameThickness;
    g.DrawRoundRect(GetColor(kFR), mBounds.Padded(-0.5f * t), std::max(0.f, radius - 0.5f * t), t);
  }
  DrawText(g, mTextStyle);
}

} // namespace igraphics
