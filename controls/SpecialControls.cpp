// The corner resizer and the value bubble.
#include "controls/SpecialControls.h"

#include <algorithm>
#include <cmath>

#include "controls/IGraphics.h"

namespace igraphics {

namespace {
Rect CornerRect(const Rect& surface, float size) {
  return Rect(surface.R - size, surface.B - size, surface.R, surface.B);
}
} // namespace

// ---- ICornerResizerControl --------------------------------------------------

ICornerResizerControl::ICornerResizerControl(const Rect& surface, float size, EUIResizerMode mode,
                                             bool layoutOnResize, const Color& normal,
                                             const Color& active)
    : IControl(CornerRect(surface, size)), mSize(size), mMode(mode),
      mLayoutOnResize(layoutOnResize), mNormal(normal), mActive(active) {}

void ICornerResizerControl::SurfaceResized(const Rect& surface) {
  SetBounds(CornerRect(surface, mSize));
}

void ICornerResizerControl::Draw(DrawContext& g) {
  const Color& c = mDragging || mPointerOver ? mActive : mNormal;
  g.FillTriangle(c, mBounds.R, mBounds.T, mBounds.R, mBounds.B, mBounds.L, mBounds.B);
}

void ICornerResizerControl::MouseDown(float x, float y, const MouseModifiers& mod) {
  IGraphics* ui = GetUI();
  if (ui == nullptr || !mod.L) return;
  mDragging = true;
  mScale0 = ui->GetDrawScale();
  mWidth0 = ui->Width();
  mHeight0 = ui->Height();
  mScreenX0 = x * mScale0;
  mScreenY0 = y * mScale0;
  mGrabX = mWidth0 * mScale0 - mScreenX0;
  mGrabY = mHeight0 * mScale0 - mScreenY0;
  Redraw();
}

void ICornerResizerControl::MouseDrag(float x, float y, float dX, float dY,
                                      const MouseModifiers& mod) {
  IGraphics* ui = GetUI();
  if (ui == nullptr || !mDragging) return;
  // Pointer positions arrive in logical units of the current scale, which
  // this drag keeps changing; screen units stay put.
  const float s = ui->GetDrawScale();
  const float sx = x * s;
  const float sy = y * s;
  if (mMode == EUIResizerMode::Scale) {
    const float scale = std::max((sx + mGrabX) / static_cast<float>(mWidth0),
                                 (sy + mGrabY) / static_cast<float>(mHeight0));
    ui->Resize(mWidth0, mHeight0, scale);
  } else {
    const int w = static_cast<int>(std::lround(mWidth0 + (sx - mScreenX0) / mScale0));
    const int h = static_cast<int>(std::lround(mHeight0 + (sy - mScreenY0) / mScale0));
    ui->Resize(std::max(w, 1), std::max(h, 1), mScale0);
  }
}

void ICornerResizerControl::MouseUp(float x, float y, const MouseModifiers& mod) {
  mDragging = false;
  Redraw();
}

void ICornerResizerControl::MouseOver(float x, float y, const MouseModifiers& mod) {
  IControl::MouseOver(x, y, mod);
  if (IGraphics* ui = GetUI()) ui->SetMouseCursor(ECursor::SizeNWSE);
}

void ICornerResizerControl::MouseLeave() {
  IControl::MouseLeave();
  if (IGraphics* ui = GetUI()) ui->SetMouseCursor(ECursor::Arrow);
}

// ---- IBubbleControl ---------------------------------------------------------

IBubbleControl::IBubbleControl(const TextStyle& style) : IControl(Rect()) {
  mTextStyle = style;
  mMouseTransparent = true;
  mHidden = true;
}

void IBubbleControl::Show(const Rect& anchor, const std::string& text, const Rect& surface) {
  mText = text;
  float width = 0.f;
  if (IGraphics* ui = GetUI()) {
    Rect measured(0, 0, 1000, mTextStyle.size);
    width = ui->MeasureText(mTextStyle, text, measured);
  }
  const float pad = std::max(2.f, mTextStyle.size * 0.3f);
  const float w = std::max(width + 2 * pad, mTextStyle.size * 2);
  const float h = mTextStyle.size + 2 * pad;
  float left = anchor.MW() - 0.5f * w;
  float top = anchor.T - h - 2;
  if (top < surface.T) top = anchor.B + 2;
  left = std::clamp(left, surface.L, std::max(surface.L, surface.R - w));
  top = std::clamp(top, surface.T, std::max(surface.T, surface.B - h));
  SetBounds(Rect::FromSize(left, top, w, h));
  SetHidden(false);
}

void IBubbleControl::Draw(DrawContext& g) {
  const float radius = std::min(mBounds.H() * 0.3f, 6.f);
  g.FillRoundRect(mTextStyle.textEntryBGColor, mBounds, radius);
  g.DrawRoundRect(mTextStyle.fgColor.WithOpacity(0.5f), mBounds.Padded(-0.5f), radius);
  g.DrawText(mTextStyle.WithAlign(EAlign::Center).WithVAlign(EVAlign::Middle), mText, mBounds);
}

} // namespace igraphics
