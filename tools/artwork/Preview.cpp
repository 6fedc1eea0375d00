#include "tools/artwork/Preview.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "tools/artwork/Painter.h"
#include "tools/artwork/Theme.h"

namespace art {

namespace {

constexpr double kCellW = 400, kCellH = 280, kImageH = 220, kColumns = 4;

void Checkerboard(cairo_t* cr, Box b) {
  cairo_save(cr);
  cairo_rectangle(cr, b.x, b.y, b.w, b.h);
  cairo_clip(cr);
  SetColor(cr, Hex(0x3a3a3a));
  cairo_paint(cr);
  SetColor(cr, Hex(0x2e2e2e));
  for (double y = b.y; y < b.B(); y += 10)
    for (double x = b.x + (static_cast<int>((y - b.y) / 10) % 2) * 10; x < b.R(); x += 20)
      cairo_rectangle(cr, x, y, 10, 10);
  cairo_fill(cr);
  cairo_restore(cr);
}

bool ContactSheet(const std::vector<Picture>& pictures, const PictureLookup& lookup,
                  const std::string& path) {
  const int rows = static_cast<int>(std::ceil(pictures.size() / kColumns));
  constexpr double kIconRowH = 330;
  Canvas sheet(kCellW * kColumns, 70 + kCellH * rows + kIconRowH, 1);
  cairo_t* cr = sheet.Cr();
  SetColor(cr, Hex(0x202124));
  cairo_paint(cr);
  DrawText(cr, {Face::Display, 30, theme::kText, Align::Left, 1}, 20, 46,
           "ZorelControl artwork, 1x (each also at 2x)");
  for (size_t i = 0; i < pictures.size(); ++i) {
    const Picture& p = pictures[i];
    cairo_surface_t* image = lookup(p.name);
    const double x = 10 + kCellW * (i % static_cast<size_t>(kColumns));
    const double y = 70 + kCellH * (i / static_cast<size_t>(kColumns));
    const double scale = std::min({1.0, (kCellW - 20) / p.width, kImageH / p.height});
    const Box area{x + (kCellW - 20 - p.width * scale) / 2, y, p.width * scale, p.height * scale};
    Checkerboard(cr, area);
    if (image != nullptr) {
      cairo_save(cr);
      cairo_translate(cr, area.x, area.y);
      cairo_scale(cr, scale, scale);
      cairo_set_source_surface(cr, image, 0, 0);
      cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
      cairo_paint(cr);
      cairo_restore(cr);
    }
    char caption[160];
    std::snprintf(caption, sizeof caption, "%s  %g x %g%s", p.name.c_str(), p.width, p.height,
                  p.frames > 1 ? ("  (" + std::to_string(p.frames) + " frames)").c_str() : "");
    DrawText(cr, {Face::Regular, 15, theme::kTextDim, Align::Left, 0}, x, y + kImageH + 28,
             caption);
  }
  // The application icon at its sizes, and the two smallest enlarged 4x.
  double x = 10;
  const double top = 70 + kCellH * rows;
  for (double size : {16, 32, 48, 64, 128, 256}) {
    cairo_save(cr);
    cairo_translate(cr, x, top + 256 - size);
    DrawAppIcon(cr, size);
    cairo_restore(cr);
    x += size + 24;
  }
  for (int size : {16, 32}) {
    Canvas icon(size, size, 1);
    DrawAppIcon(icon.Cr(), size);
    cairo_save(cr);
    cairo_translate(cr, x, top + 256 - 4 * size);
    cairo_scale(cr, 4, 4);
    cairo_set_source_surface(cr, icon.Surface(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
    x += 4 * size + 24;
  }
  DrawText(cr, {Face::Regular, 15, theme::kTextDim, Align::Left, 0}, 10, top + 290,
           "icons/hicolor/NxN/apps/zorelcontrol.png  16 32 48 64 128 256 (not bundled); "
           "16 and 32 enlarged 4x");
  return WritePng(sheet, path);
}

// The surface at 1920 x 1200 drawn into the 960 x 600 window of scale 0.5.
template <typename F> bool HalfScale(const std::string& path, F draw) {
  Canvas half(960, 600, 1);
  cairo_scale(half.Cr(), 0.5, 0.5);
  draw(half.Cr());
  return WritePng(half, path);
}

// A 1:1 piece of the surface at 1x, for the details.
template <typename F> bool Crop(const std::string& path, Box area, F draw) {
  Canvas crop(area.w, area.h, 1);
  cairo_translate(crop.Cr(), -area.x, -area.y);
  draw(crop.Cr());
  return WritePng(crop, path);
}

} // namespace

bool WritePreviews(const std::vector<Picture>& pictures, const PictureLookup& lookup,
                   const std::string& dir) {
  return ContactSheet(pictures, lookup, dir + "/contact-sheet.png") &&
         HalfScale(dir + "/mock-surface.png",
                   [&](cairo_t* cr) {
                     DrawMockSurface(cr, lookup, MockPanel::ImpulseResponse, false);
                   }) &&
         HalfScale(dir + "/mock-surface-filter.png",
                   [&](cairo_t* cr) { DrawMockSurface(cr, lookup, MockPanel::Amplifier, true); }) &&
         Crop(dir + "/detail-pedal.png", {640, 76, 960, 566},
              [&](cairo_t* cr) { DrawMockSurface(cr, lookup, MockPanel::Amplifier, true); }) &&
         Crop(dir + "/detail-top-left.png", {0, 0, 1100, 330},
              [&](cairo_t* cr) {
                DrawMockSurface(cr, lookup, MockPanel::ImpulseResponse, false);
              }) &&
         Crop(dir + "/detail-panel.png", {300, 630, 820, 560},
              [&](cairo_t* cr) {
                DrawMockSurface(cr, lookup, MockPanel::ImpulseResponse, false);
              }) &&
         HalfScale(dir + "/mock-firmware-page.png",
                   [&](cairo_t* cr) { DrawMockPage(cr, lookup, "fwbg.png"); }) &&
         HalfScale(dir + "/mock-settings-page.png",
                   [&](cairo_t* cr) { DrawMockPage(cr, lookup, "globalbg.png"); }) &&
         HalfScale(dir + "/mock-about-page.png",
                   [&](cairo_t* cr) { DrawMockPage(cr, lookup, "about.png"); });
}

} // namespace art
