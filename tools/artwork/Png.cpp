// PNG output through libpng rather than cairo's writer: pictures without
// any transparency are stored as RGB, which keeps the resource bundle
// small, and the compression settings are pinned so that the bytes never
// depend on a library default.

#include <png.h>

#include <cstdio>
#include <vector>

#include "tools/artwork/Painter.h"

namespace art {

namespace {

bool IsOpaque(const uint8_t* data, int w, int h, int stride) {
  for (int y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
    for (int x = 0; x < w; ++x)
      if ((row[x] >> 24) != 0xFF) return false;
  }
  return true;
}

// cairo stores premultiplied native-endian ARGB; PNG wants straight RGB(A).
void Unpremultiply(const uint8_t* data, int w, int stride, int y, bool alpha,
                   std::vector<uint8_t>& row) {
  const auto* src = reinterpret_cast<const uint32_t*>(data + y * stride);
  size_t o = 0;
  for (int x = 0; x < w; ++x) {
    const uint32_t p = src[x];
    const uint32_t a = p >> 24;
    uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    if (a != 0 && a != 255) {
      r = (r * 255 + a / 2) / a;
      g = (g * 255 + a / 2) / a;
      b = (b * 255 + a / 2) / a;
    }
    row[o++] = static_cast<uint8_t>(r);
    row[o++] = static_cast<uint8_t>(g);
    row[o++] = static_cast<uint8_t>(b);
    if (alpha) row[o++] = static_cast<uint8_t>(a);
  }
}

} // namespace

bool WritePng(const Canvas& canvas, const std::string& path) {
  cairo_surface_t* s = canvas.Surface();
  cairo_surface_flush(s);
  const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
  const int stride = cairo_image_surface_get_stride(s);
  const uint8_t* data = cairo_image_surface_get_data(s);
  const bool alpha = !IsOpaque(data, w, h, stride);

  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  bool ok = png != nullptr && info != nullptr;
  std::vector<uint8_t> row(static_cast<size_t>(w) * (alpha ? 4 : 3));
  if (ok && setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, w, h, 8, alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < h; ++y) {
      Unpremultiply(data, w, stride, y, alpha, row);
      png_write_row(png, row.data());
    }
    png_write_end(png, info);
  } else {
    ok = false;
  }
  png_destroy_write_struct(png != nullptr ? &png : nullptr, info != nullptr ? &info : nullptr);
  return std::fclose(file) == 0 && ok;
}

} // namespace art
