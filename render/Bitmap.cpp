#include "render/Bitmap.h"

#include <algorithm>
#include <cmath>

namespace igraphics {

Bitmap::Bitmap(SurfaceRef surface, int frames, bool framesAreHorizontal, int scale,
               std::string name)
    : mName(std::move(name)), mHorizontal(framesAreHorizontal), mScale(std::max(1, scale)) {
  if (surface == nullptr || cairo_surface_get_type(surface.get()) != CAIRO_SURFACE_TYPE_IMAGE)
    return;
  const int w = cairo_image_surface_get_width(surface.get());
  const int h = cairo_image_surface_get_height(surface.get());
  if (w <= 0 || h <= 0) return;
  mSurface = std::move(surface);
  mPixelW = w;
  mPixelH = h;
  // More frames than pixels along the strip would make every frame empty.
  mFrames = std::clamp(frames, 1, framesAreHorizontal ? w : h);
}

int Bitmap::ClampFrame(int k) const {
  return std::clamp(k, 0, mFrames - 1);
}

Bitmap::PixelRect Bitmap::FramePixels(int k) const {
  k = ClampFrame(k);
  const int fw = FramePixelWidth();
  const int fh = FramePixelHeight();
  return mHorizontal ? PixelRect{k * fw, 0, fw, fh} : PixelRect{0, k * fh, fw, fh};
}

int Bitmap::FrameForValue(double value) const {
  if (!std::isfinite(value)) return 0;
  const double f = value * (mFrames - 1) + 0.5;
  return ClampFrame(static_cast<int>(std::clamp(f, -1.0, static_cast<double>(mFrames))));
}

} // namespace igraphics
