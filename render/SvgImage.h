#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

typedef struct _RsvgHandle RsvgHandle;

namespace igraphics {

// A parsed SVG document (librsvg), shared between copies. Its size comes
// from the document's width and height, or from its viewBox when it gives
// none (0 when it has neither; it still draws into a given rectangle). An
// empty image draws nothing and measures 0.
class SvgImage {
public:
  SvgImage() = default;

  // Parses the document from memory at `dpi` (for physical units such as
  // mm or pt); `units` names the unit Width() and Height() report: "px"
  // (pixels at `dpi`), "pt", "in", "mm" or "cm". Anything unparsable, or an
  // unknown unit, gives an empty image.
  static SvgImage FromMemory(std::span<const uint8_t> data, std::string_view units = "px",
                             float dpi = 72.f);

  bool IsValid() const { return mHandle != nullptr; }
  RsvgHandle* Handle() const { return mHandle.get(); }
  float Width() const { return mWidth; }
  float Height() const { return mHeight; }

private:
  std::shared_ptr<RsvgHandle> mHandle;
  float mWidth = 0.f;
  float mHeight = 0.f;
};

} // namespace igraphics
