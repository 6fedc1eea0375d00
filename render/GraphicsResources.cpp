#include "render/GraphicsResources.h"

#include <algorithm>
#include <cmath>

#include "render/PngCodec.h"

namespace igraphics {

std::string ScaledResourceName(std::string_view name, int scale) {
  // The extension is what follows the last dot of the file name itself, not
  // a dot in a folder name.
  const size_t slash = name.find_last_of('/');
  const size_t dot = name.find_last_of('.');
  const bool hasExt =
      dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash);
  const std::string_view base = hasExt ? name.substr(0, dot) : name;
  const std::string_view ext = hasExt ? name.substr(dot) : std::string_view{};
  std::string out(base);
  out += '@';
  out += std::to_string(scale);
  out += 'x';
  out += ext;
  return out;
}

GraphicsResources::GraphicsResources(ResourceLookup lookup) : mLookup(std::move(lookup)) {}

void GraphicsResources::SetScreenScale(float scale) {
  if (std::isfinite(scale) && scale > 0.f) mScreenScale.store(scale);
}

std::optional<GraphicsResources::CachedImage> GraphicsResources::FindImage(std::string_view name,
                                                                           int scale) {
  for (int s = scale; s >= 1; --s) {
    const std::string candidate = s > 1 ? ScaledResourceName(name, s) : std::string(name);
    const auto bytes = mLookup ? mLookup(candidate) : std::nullopt;
    if (!bytes) continue;
    // A damaged higher-resolution picture falls back to a lower one rather
    // than leaving a hole in the surface.
    if (SurfaceRef surface = DecodePng(*bytes)) return CachedImage{std::move(surface), s};
  }
  return std::nullopt;
}

Bitmap GraphicsResources::LoadBitmapResource(std::string_view name, int frames,
                                             bool framesAreHorizontal, int targetScale) {
  int scale = targetScale;
  if (scale <= 0) scale = static_cast<int>(std::ceil(mScreenScale.load() - 1e-4f));
  scale = std::clamp(scale, 1, kMaxScale);

  std::lock_guard<std::mutex> lock(mCacheLock);
  auto key = std::make_pair(std::string(name), scale);
  auto it = mCache.find(key);
  if (it == mCache.end()) {
    // Misses are not remembered: a failed lookup costs little and the
    // bundle may be completed later (tests, development builds).
    std::optional<CachedImage> image = FindImage(name, scale);
    if (!image) return {};
    it = mCache.emplace(std::move(key), std::move(*image)).first;
  }
  return Bitmap(it->second.surface, frames, framesAreHorizontal, it->second.pixelScale,
                std::string(name));
}

SvgImage GraphicsResources::LoadSvgResource(std::string_view name, std::string_view units,
                                            float dpi) {
  const auto bytes = mLookup ? mLookup(name) : std::nullopt;
  if (!bytes) return {};
  return SvgImage::FromMemory(*bytes, units, dpi);
}

bool GraphicsResources::RegisterFontResource(const std::string& fontID, std::string_view fileName) {
  const auto bytes = mLookup ? mLookup(fileName) : std::nullopt;
  return bytes && mFonts.Register(fontID, *bytes);
}

size_t GraphicsResources::CachedBitmapCount() const {
  std::lock_guard<std::mutex> lock(mCacheLock);
  return mCache.size();
}

void GraphicsResources::ClearBitmapCache() {
  std::lock_guard<std::mutex> lock(mCacheLock);
  mCache.clear();
}

} // namespace igraphics
