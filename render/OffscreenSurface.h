#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

#include "render/Color.h"
#include "render/DrawContext.h"

namespace igraphics {

// An image to draw into without a window: width x height logical units at
// `scale` pixels per unit (rounded up to whole pixels), transparent at the
// start. Sizes that are not positive, not finite or beyond cairo's limit of
// 32767 pixels per side give an invalid surface, on which drawing does
// nothing and writing fails.
class OffscreenSurface {
public:
  OffscreenSurface(float width, float height, float scale = 1.f);
  ~OffscreenSurface();
  OffscreenSurface(const OffscreenSurface&) = delete;
  OffscreenSurface& operator=(const OffscreenSurface&) = delete;

  bool IsValid() const { return mCr != nullptr; }
  float Width() const { return mWidth; }
  float Height() const { return mHeight; }
  float Scale() const { return mScale; }
  int PixelWidth() const { return mPixelW; }
  int PixelHeight() const { return mPixelH; }
  cairo_surface_t* Surface() const { return mSurface; }

  // The drawing context of this surface, bound for its whole life.
  DrawContext& Context() { return mContext; }

  // The pixel at device position (px, py), with premultiplication undone;
  // transparent outside the image.
  Color PixelAt(int px, int py) const;

  // The pixels as PNG, to a file or to memory; false when that fails.
  bool WritePNG(const std::string& path) const;
  bool EncodePNG(std::vector<uint8_t>& out) const;

private:
  float mWidth = 0.f;
  float mHeight = 0.f;
  float mScale = 1.f;
  int mPixelW = 0;
  int mPixelH = 0;
  cairo_surface_t* mSurface = nullptr;
  cairo_t* mCr = nullptr;
  DrawContext mContext;
};

} // namespace igraphics
