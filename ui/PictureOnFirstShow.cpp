#include "ui/PictureOnFirstShow.h"

#include "controls/IGraphics.h"

namespace zorel::ui {

PictureOnFirstShow::PictureOnFirstShow(const igraphics::Rect& bounds, std::string name, int frames)
    : IBitmapControl(bounds, igraphics::Bitmap()), mName(std::move(name)), mFrames(frames) {}

void PictureOnFirstShow::SetHidden(bool hidden) {
  if (!hidden) Load();
  IBitmapControl::SetHidden(hidden);
}

void PictureOnFirstShow::Draw(igraphics::DrawContext& g) {
  Load();
  IBitmapControl::Draw(g);
}

void PictureOnFirstShow::Load() {
  igraphics::IGraphics* ui = GetUI();
  if (mLoaded || ui == nullptr) return;
  mLoaded = true;
  SetBitmap(ui->LoadBitmapResource(mName, mFrames));
  if (!mBitmap.IsValid()) return;
  const float w = mBitmap.FrameWidth();
  const float x = mBounds.MW() - 0.5f * w;
  SetBounds(igraphics::Rect::FromSize(x, mBounds.T, w, mBitmap.FrameHeight()));
}

} // namespace zorel::ui
