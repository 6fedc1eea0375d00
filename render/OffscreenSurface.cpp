#include "render/OffscreenSurface.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "render/DrawGuards.h"
#include "render/PngCodec.h"

namespace igraphics {

namespace {

constexpr double kMaxPixels = 32767.0;

// Whole pixels covering `units` at `scale`; a product that is a whole
// number up to float rounding (1920 x 0.5) is not rounded up a pixel.
int PixelsFor(float units, float scale) {
  return static_cast<int>(std::ceil(static_cast<double>(units) * scale - 1e-3));
}

} // namespace

OffscreenSurface::OffscreenSurface(float width, float height, float scale)
    : mWidth(width), mHeight(height), mScale(scale) {
  if (!detail::Finite(width, height, scale) || !(width > 0.f && height > 0.f && scale > 0.f))
    return;
  if (static_cast<double>(width) * scale > kMaxPixels ||
      static_cast<double>(height) * scale > kMaxPixels)
    return;
  mPixelW = std::max(1, PixelsFor(width, scale));
  mPixelH = std::max(1, PixelsFor(height, scale));
  mSurface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, mPixelW, mPixelH);
  if (cairo_surface_status(mSurface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(mSurface);
    mSurface = nullptr;
    mPixelW = mPixelH = 0;
    return;
  }
  mCr = cairo_create(mSurface);
  mContext.Bind(mCr, scale, Rect(0, 0, width, height));
}

OffscreenSurface::~OffscreenSurface() {
  mContext.Unbind();
  if (mCr != nullptr) cairo_destroy(mCr);
  if (mSurface != nullptr) cairo_surface_destroy(mSurface);
}

Color OffscreenSurface::PixelAt(int px, int py) const {
  if (mSurface == nullptr || px < 0 || py < 0 || px >= mPixelW || py >= mPixelH)
    return {0, 0, 0, 0};
  cairo_surface_flush(mSurface);
  const unsigned char* row =
      cairo_image_surface_get_data(mSurface) + py * cairo_image_surface_get_stride(mSurface);
  uint32_t argb;
  std::memcpy(&argb, row + 4 * px, 4); // native-endian 0xAARRGGBB
  const int a = static_cast<int>(argb >> 24);
  if (a == 0) return {0, 0, 0, 0};
  const auto un = [a](uint32_t c) { return static_cast<int>(((c & 0xFF) * 255 + a / 2) / a); };
  return {a, un(argb >> 16), un(argb >> 8), un(argb)};
}

bool OffscreenSurface::WritePNG(const std::string& path) const {
  return mSurface != nullptr && WritePngFile(mSurface, path);
}

bool OffscreenSurface::EncodePNG(std::vector<uint8_t>& out) const {
  out.clear();
  return mSurface != nullptr && EncodePng(mSurface, out);
}

} // namespace igraphics
