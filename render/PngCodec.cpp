#include "render/PngCodec.h"

#include <cstdio>
#include <cstring>

namespace igraphics {

namespace {

struct MemoryReader {
  std::span<const uint8_t> data;
  size_t pos = 0;
};

cairo_status_t ReadFromMemory(void* closure, unsigned char* out, unsigned int length) {
  auto* r = static_cast<MemoryReader*>(closure);
  if (length > r->data.size() - r->pos) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(out, r->data.data() + r->pos, length);
  r->pos += length;
  return CAIRO_STATUS_SUCCESS;
}

cairo_status_t AppendToVector(void* closure, const unsigned char* data, unsigned int length) {
  auto* v = static_cast<std::vector<uint8_t>*>(closure);
  v->insert(v->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

cairo_status_t WriteToFile(void* closure, const unsigned char* data, unsigned int length) {
  return std::fwrite(data, 1, length, static_cast<FILE*>(closure)) == length
             ? CAIRO_STATUS_SUCCESS
             : CAIRO_STATUS_WRITE_ERROR;
}

uint32_t BigEndian32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// Checks the signature and the IHDR dimensions before anything is allocated.
bool HeaderAcceptable(std::span<const uint8_t> data) {
  static constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (data.size() < 33 || std::memcmp(data.data(), kSignature, 8) != 0) return false;
  if (std::memcmp(data.data() + 12, "IHDR", 4) != 0) return false;
  const uint32_t w = BigEndian32(data.data() + 16);
  const uint32_t h = BigEndian32(data.data() + 20);
  return w > 0 && h > 0 && w <= kMaxPngSide && h <= kMaxPngSide && uint64_t{w} * h <= kMaxPngPixels;
}

bool IsImageSurface(cairo_surface_t* s) {
  return s != nullptr && cairo_surface_status(s) == CAIRO_STATUS_SUCCESS &&
         cairo_surface_get_type(s) == CAIRO_SURFACE_TYPE_IMAGE;
}

} // namespace

SurfaceRef DecodePng(std::span<const uint8_t> data) {
  if (!HeaderAcceptable(data)) return nullptr;
  MemoryReader reader{data};
  return AdoptSurface(cairo_image_surface_create_from_png_stream(ReadFromMemory, &reader));
}

bool EncodePng(cairo_surface_t* surface, std::vector<uint8_t>& out) {
  out.clear();
  if (!IsImageSurface(surface)) return false;
  cairo_surface_flush(surface);
  if (cairo_surface_write_to_png_stream(surface, AppendToVector, &out) != CAIRO_STATUS_SUCCESS) {
    out.clear();
    return false;
  }
  return true;
}

bool WritePngFile(cairo_surface_t* surface, const std::string& path) {
  if (!IsImageSurface(surface)) return false;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  cairo_surface_flush(surface);
  const bool written =
      cairo_surface_write_to_png_stream(surface, WriteToFile, f) == CAIRO_STATUS_SUCCESS;
  // A full disk often shows only when the buffered tail is flushed.
  const bool closed = std::fclose(f) == 0;
  if (!(written && closed)) {
    std::remove(path.c_str());
    return false;
  }
  return true;
}

} // namespace igraphics
