#pragma once

#include <cairo.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "render/SurfaceRef.h"

namespace igraphics {

// Largest picture accepted, per side and in total: far above the artwork
// (3840 x 2400 at 2x) and small enough that a hostile header cannot make us
// allocate gigabytes before the first pixel is read.
inline constexpr uint32_t kMaxPngSide = 16384;
inline constexpr uint64_t kMaxPngPixels = 64ull * 1024 * 1024;

// Decodes a PNG held in memory into an image surface (ARGB32, or RGB24 for
// pictures without alpha). Null when the data is not a complete, valid PNG
// or is larger than the limits above.
SurfaceRef DecodePng(std::span<const uint8_t> data);

// Encodes an image surface as PNG; false (and `out` empty) on failure.
bool EncodePng(cairo_surface_t* surface, std::vector<uint8_t>& out);

// Writes an image surface to a PNG file; false when the file cannot be
// written completely.
bool WritePngFile(cairo_surface_t* surface, const std::string& path);

} // namespace igraphics
