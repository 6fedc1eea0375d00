#include "render/SvgImage.h"

#include <librsvg/rsvg.h>

#include <cmath>

namespace igraphics {

namespace {

// Factor from pixels at `dpi` to the requested unit; 0 for an unknown unit.
double UnitsPerPixel(std::string_view units, double dpi) {
  if (units == "px") return 1.0;
  if (units == "in") return 1.0 / dpi;
  if (units == "pt") return 72.0 / dpi;
  if (units == "mm") return 25.4 / dpi;
  if (units == "cm") return 2.54 / dpi;
  return 0.0;
}

} // namespace

SvgImage SvgImage::FromMemory(std::span<const uint8_t> data, std::string_view units, float dpi) {
  SvgImage image;
  if (data.empty() || !(dpi > 0.f) || !std::isfinite(dpi)) return image;
  const double perPixel = UnitsPerPixel(units, dpi);
  if (perPixel == 0.0) return image;

  GError* error = nullptr;
  RsvgHandle* h = rsvg_handle_new_from_data(data.data(), data.size(), &error);
  if (error != nullptr) g_error_free(error);
  if (h == nullptr) return image;
  rsvg_handle_set_dpi(h, dpi);
  std::shared_ptr<RsvgHandle> handle(h, [](RsvgHandle* p) { g_object_unref(p); });

  double w = 0.0;
  double hgt = 0.0;
  if (!rsvg_handle_get_intrinsic_size_in_pixels(h, &w, &hgt)) {
    // Percentages or no size at all: the viewBox says how big it is meant to be.
    gboolean hasW = FALSE, hasH = FALSE, hasViewBox = FALSE;
    RsvgLength lw, lh;
    RsvgRectangle viewBox{};
    rsvg_handle_get_intrinsic_dimensions(h, &hasW, &lw, &hasH, &lh, &hasViewBox, &viewBox);
    if (hasViewBox) {
      w = viewBox.width;
      hgt = viewBox.height;
    }
  }
  // A document without any size still draws into the rectangle it is given.
  if (!(w > 0.0) || !(hgt > 0.0)) w = hgt = 0.0;

  image.mHandle = std::move(handle);
  image.mWidth = static_cast<float>(w * perPixel);
  image.mHeight = static_cast<float>(hgt * perPixel);
  return image;
}

} // namespace igraphics
