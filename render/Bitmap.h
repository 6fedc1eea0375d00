#pragma once

#include <string>

#include "render/SurfaceRef.h"

namespace igraphics {

// A picture with frames: frame k of n is the k-th equal slice of the image,
// laid out vertically (a strip of rows) or horizontally. The pixels are
// shared between copies. `Scale()` is the resolution of the pixels (2 for a
// picture loaded from its "@2x" resource), so sizes in logical units stay
// the same whichever resource was found. An empty bitmap draws nothing and
// measures 0.
class Bitmap {
public:
  Bitmap() = default;
  Bitmap(SurfaceRef surface, int frames, bool framesAreHorizontal, int scale,
         std::string name = {});

  bool IsValid() const { return mSurface != nullptr; }
  cairo_surface_t* Surface() const { return mSurface.get(); }
  const std::string& Name() const { return mName; }
  int Scale() const { return mScale; }
  int NumFrames() const { return mFrames; }
  bool FramesAreHorizontal() const { return mHorizontal; }

  int PixelWidth() const { return mPixelW; }
  int PixelHeight() const { return mPixelH; }
  // Logical units.
  float Width() const { return static_cast<float>(mPixelW) / static_cast<float>(mScale); }
  float Height() const { return static_cast<float>(mPixelH) / static_cast<float>(mScale); }
  float FrameWidth() const { return static_cast<float>(FramePixelWidth()) / mScale; }
  float FrameHeight() const { return static_cast<float>(FramePixelHeight()) / mScale; }

  int FramePixelWidth() const { return mHorizontal ? mPixelW / mFrames : mPixelW; }
  int FramePixelHeight() const { return mHorizontal ? mPixelH : mPixelH / mFrames; }

  struct PixelRect {
    int x, y, w, h;
  };
  // The pixels of frame k; k is clamped to the frames there are, so a value
  // a little outside 0..1 shows the first or last frame, not a neighbour's
  // slice of memory or nothing.
  PixelRect FramePixels(int k) const;
  int ClampFrame(int k) const;

  // The frame index a control shows for a normalized value:
  // trunc(value x (frames - 1) + 0.5), limited to the frames there are.
  int FrameForValue(double value) const;

private:
  SurfaceRef mSurface;
  std::string mName;
  int mFrames = 1;
  bool mHorizontal = false;
  int mScale = 1;
  int mPixelW = 0;
  int mPixelH = 0;
};

} // namespace igraphics
