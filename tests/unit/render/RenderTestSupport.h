#pragma once

#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "render/GraphicsResources.h"
#include "render/OffscreenSurface.h"
#include "render/PngCodec.h"

namespace rendertest {

using igraphics::Color;
using igraphics::OffscreenSurface;

inline constexpr Color kNone{0, 0, 0, 0};
inline constexpr const char* kTestFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

inline std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Rendered PNGs go to $ZOREL_RENDER_PNG_DIR, or a folder in the test temp dir.
inline std::string OutputPath(const std::string& name) {
  const char* env = std::getenv("ZOREL_RENDER_PNG_DIR");
  const std::filesystem::path dir =
      env != nullptr ? std::filesystem::path(env)
                     : std::filesystem::path(testing::TempDir()) / "zorel-render";
  std::filesystem::create_directories(dir);
  return (dir / name).string();
}

inline void Save(const OffscreenSurface& s, const std::string& name) {
  EXPECT_TRUE(s.WritePNG(OutputPath(name))) << name;
}

// Bounding box (inclusive, device pixels) and centroid of the pixels picked.
struct InkBox {
  int l = 0, t = 0, r = -1, b = -1, count = 0;
  double cx = 0, cy = 0;
  bool Found() const { return count > 0; }
  int W() const { return r - l + 1; }
  int H() const { return b - t + 1; }
};

inline InkBox FindInk(const OffscreenSurface& s, const std::function<bool(const Color&)>& pick) {
  InkBox box{s.PixelWidth(), s.PixelHeight()};
  for (int y = 0; y < s.PixelHeight(); ++y)
    for (int x = 0; x < s.PixelWidth(); ++x) {
      if (!pick(s.PixelAt(x, y))) continue;
      box.l = std::min(box.l, x), box.r = std::max(box.r, x);
      box.t = std::min(box.t, y), box.b = std::max(box.b, y);
      box.cx += x, box.cy += y, ++box.count;
    }
  if (box.count > 0) box.cx /= box.count, box.cy /= box.count;
  return box;
}

inline bool Opaque(const Color& c) {
  return c.A > 127;
}

inline ::testing::AssertionResult ColorNear(const Color& got, const Color& want, int tol = 2) {
  if (std::abs(got.A - want.A) <= tol && std::abs(got.R - want.R) <= tol &&
      std::abs(got.G - want.G) <= tol && std::abs(got.B - want.B) <= tol)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "got (" << got.A << "," << got.R << "," << got.G << "," << got.B << ") want (" << want.A
         << "," << want.R << "," << want.G << "," << want.B << ")";
}

// An image of equal bands of solid colour, one per frame.
inline igraphics::SurfaceRef BandedImage(int frameW, int frameH, const std::vector<Color>& bands,
                                         bool horizontal) {
  const int n = static_cast<int>(bands.size());
  auto surface = igraphics::AdoptSurface(cairo_image_surface_create(
      CAIRO_FORMAT_ARGB32, horizontal ? frameW * n : frameW, horizontal ? frameH : frameH * n));
  cairo_t* cr = cairo_create(surface.get());
  for (int k = 0; k < n; ++k) {
    const Color& c = bands[k];
    cairo_set_source_rgba(cr, c.R / 255.0, c.G / 255.0, c.B / 255.0, c.A / 255.0);
    cairo_rectangle(cr, horizontal ? k * frameW : 0, horizontal ? 0 : k * frameH, frameW, frameH);
    cairo_fill(cr);
  }
  cairo_destroy(cr);
  return surface;
}

inline std::vector<uint8_t> PngOf(const igraphics::SurfaceRef& surface) {
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(igraphics::EncodePng(surface.get(), bytes));
  return bytes;
}

// A resource bundle in a map, counting lookups.
struct FakeBundle {
  std::map<std::string, std::vector<uint8_t>, std::less<>> files;
  std::map<std::string, int, std::less<>> lookups;

  igraphics::ResourceLookup Lookup() {
    return [this](std::string_view name) -> std::optional<std::span<const uint8_t>> {
      ++lookups[std::string(name)];
      const auto it = files.find(name);
      if (it == files.end()) return std::nullopt;
      return std::span<const uint8_t>(it->second);
    };
  }
};

} // namespace rendertest
