#pragma once

#include <cairo.h>

#include <memory>

namespace igraphics {

// Shared ownership of a cairo surface; bitmaps and the cache hand the same
// pixels around without copying them.
using SurfaceRef = std::shared_ptr<cairo_surface_t>;

// Takes over the caller's reference. A null or failed surface gives null, so
// a SurfaceRef that is set always holds usable pixels.
inline SurfaceRef AdoptSurface(cairo_surface_t* s) {
  if (s == nullptr) return nullptr;
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(s);
    return nullptr;
  }
  return SurfaceRef(s, cairo_surface_destroy);
}

} // namespace igraphics
