#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "render/Bitmap.h"
#include "render/Font.h"
#include "render/SvgImage.h"

namespace igraphics {

// Finds a resource of the bundle by file name. The bytes need to stay valid
// only until the call that asked for them returns (pictures, fonts and SVGs
// are decoded or copied at once). Must not call back into GraphicsResources.
using ResourceLookup =
    std::function<std::optional<std::span<const uint8_t>>(std::string_view name)>;

// "%s@%dx%s": the name of the picture for `scale`, the scale inserted before
// the extension ("knob.png", 2 -> "knob@2x.png"; "knob", 2 -> "knob@2x").
std::string ScaledResourceName(std::string_view name, int scale);

// The pictures, fonts and SVG images of the surface, loaded from the
// resource bundle through a lookup. Pictures are cached by (name, scale)
// under a lock, because controls may ask for them while another thread
// builds; fonts and SVGs are used on the user-interface thread only.
class GraphicsResources {
public:
  static constexpr int kMaxScale = 4;

  explicit GraphicsResources(ResourceLookup lookup);

  // The screen's scale factor; a target scale of 0 uses it, rounded up.
  void SetScreenScale(float scale);
  float ScreenScale() const { return mScreenScale.load(); }

  // A picture of `frames` frames. For a target scale above 1 the resource
  // named for that scale is preferred, then those for lower scales, then the
  // base name at scale 1; a missing or undecodable resource gives an empty
  // bitmap.
  Bitmap LoadBitmapResource(std::string_view name, int frames = 1, bool framesAreHorizontal = false,
                            int targetScale = 0);

  // An SVG image (see SvgImage::FromMemory); empty when missing.
  SvgImage LoadSvgResource(std::string_view name, std::string_view units = "px", float dpi = 72.f);

  // Loads a TrueType resource and files it under `fontID` for text styles;
  // true when loaded.
  bool RegisterFontResource(const std::string& fontID, std::string_view fileName);
  const FontRegistry& Fonts() const { return mFonts; }

  size_t CachedBitmapCount() const;
  void ClearBitmapCache();

private:
  struct CachedImage {
    SurfaceRef surface;
    int pixelScale = 1;
  };
  std::optional<CachedImage> FindImage(std::string_view name, int scale);

  ResourceLookup mLookup;
  std::atomic<float> mScreenScale{1.f};
  FontRegistry mFonts;
  mutable std::mutex mCacheLock;
  std::map<std::pair<std::string, int>, CachedImage> mCache;
};

} // namespace igraphics
