#include "tools/artwork/Painter.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <vector>

namespace art {

Rgba Mix(Rgba a, Rgba b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
          a.a + (b.a - a.a) * t};
}

Rgba WithAlpha(Rgba c, double a) {
  return {c.r, c.g, c.b, a};
}

// ---- fonts ---------------------------------------------------------------------------

namespace {

FT_Library gLibrary = nullptr;
cairo_font_face_t* gFaces[3] = {};
constexpr const char* kFaceFiles[3] = {"Roboto-Regular.ttf", "Knowledge-Bold.ttf",
                                       "MyBlueRoom.ttf"};

cairo_font_options_t* SharedFontOptions() {
  // Unhinted outlines and metrics: the 2x picture is then the 1x one
  // enlarged, and the result does not depend on hinting settings.
  static cairo_font_options_t* options = [] {
    cairo_font_options_t* o = cairo_font_options_create();
    cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_OFF);
    return o;
  }();
  return options;
}

} // namespace

bool Fonts::Load(const std::string& folder) {
  if (FT_Init_FreeType(&gLibrary) != 0) return false;
  static const cairo_user_data_key_t kFaceKey{};
  for (int i = 0; i < 3; ++i) {
    const std::string path = folder + "/" + kFaceFiles[i];
    FT_Face ft = nullptr;
    if (FT_New_Face(gLibrary, path.c_str(), 0, &ft) != 0) {
      std::fprintf(stderr, "gen_artwork: cannot load the font %s\n", path.c_str());
      return false;
    }
    // cairo may keep the face in its caches after we let go of it; the
    // FreeType face goes with the cairo face, whenever that is.
    gFaces[i] = cairo_ft_font_face_create_for_ft_face(ft, 0);
    cairo_font_face_set_user_data(gFaces[i], &kFaceKey, ft,
                                  [](void* face) { FT_Done_Face(static_cast<FT_Face>(face)); });
  }
  return true;
}

void Fonts::Release() {
  for (auto& face : gFaces) {
    if (face != nullptr) cairo_font_face_destroy(face);
    face = nullptr;
  }
  // The FreeType library stays until the process ends, as cairo's caches may.
}

cairo_font_face_t* Fonts::Get(Face face) {
  return gFaces[static_cast<int>(face)];
}

// ---- canvas --------------------------------------------------------------------------

Canvas::Canvas(double width, double height, int scale)
    : mWidth(width), mHeight(height), mScale(scale) {
  mSurface =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(std::lround(width * scale)),
                                 static_cast<int>(std::lround(height * scale)));
  mCr = cairo_create(mSurface);
  cairo_scale(mCr, scale, scale);
  cairo_set_font_options(mCr, SharedFontOptions());
}

Canvas::~Canvas() {
  cairo_destroy(mCr);
  cairo_surface_destroy(mSurface);
}

// ---- shapes --------------------------------------------------------------------------

void SetColor(cairo_t* cr, Rgba c) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

void RoundedRect(cairo_t* cr, Box b, double radius) {
  const double r = std::min({radius, b.w / 2, b.h / 2});
  cairo_new_sub_path(cr);
  cairo_arc(cr, b.R() - r, b.y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, b.R() - r, b.B() - r, r, 0, M_PI / 2);
  cairo_arc(cr, b.x + r, b.B() - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, b.x + r, b.y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void FillRounded(cairo_t* cr, Box b, double radius, Rgba c) {
  RoundedRect(cr, b, radius);
  SetColor(cr, c);
  cairo_fill(cr);
}

void StrokeRounded(cairo_t* cr, Box b, double radius, double width, Rgba c) {
  RoundedRect(cr, b, radius);
  SetColor(cr, c);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

void FillCircle(cairo_t* cr, double cx, double cy, double r, Rgba c) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  SetColor(cr, c);
  cairo_fill(cr);
}

void StrokeCircle(cairo_t* cr, double cx, double cy, double r, double width, Rgba c) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  SetColor(cr, c);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

namespace {
void FillWith(cairo_t* cr, cairo_pattern_t* p, Rgba a, Rgba b) {
  cairo_pattern_add_color_stop_rgba(p, 0, a.r, a.g, a.b, a.a);
  cairo_pattern_add_color_stop_rgba(p, 1, b.r, b.g, b.b, b.a);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}
} // namespace

void FillVertical(cairo_t* cr, double top, double bottom, Rgba a, Rgba b) {
  FillWith(cr, cairo_pattern_create_linear(0, top, 0, bottom), a, b);
}

void StrokeVertical(cairo_t* cr, double top, double bottom, std::initializer_list<Stop> stops,
                    double width) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, top, 0, bottom);
  for (const Stop& s : stops)
    cairo_pattern_add_color_stop_rgba(p, s.offset, s.color.r, s.color.g, s.color.b, s.color.a);
  cairo_set_source(cr, p);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
  cairo_pattern_destroy(p);
}

void FillRadial(cairo_t* cr, double cx, double cy, double r, Rgba inner, Rgba outer) {
  FillWith(cr, cairo_pattern_create_radial(cx, cy, 0, cx, cy, r), inner, outer);
}

// ---- text ----------------------------------------------------------------------------

namespace {

void SelectFont(cairo_t* cr, const TextStyle& style) {
  cairo_set_font_face(cr, Fonts::Get(style.face));
  cairo_set_font_size(cr, style.size);
  cairo_set_font_options(cr, SharedFontOptions());
}

// Glyphs of a line starting at (0, 0), spaced by the style's tracking.
std::vector<cairo_glyph_t> LayOut(cairo_t* cr, const TextStyle& style, const std::string& text,
                                  double& width) {
  SelectFont(cr, style);
  cairo_scaled_font_t* font = cairo_get_scaled_font(cr);
  cairo_glyph_t* glyphs = nullptr;
  int count = 0;
  std::vector<cairo_glyph_t> out;
  width = 0;
  if (cairo_scaled_font_text_to_glyphs(font, 0, 0, text.c_str(), static_cast<int>(text.size()),
                                       &glyphs, &count, nullptr, nullptr,
                                       nullptr) != CAIRO_STATUS_SUCCESS)
    return out;
  out.assign(glyphs, glyphs + count);
  cairo_glyph_free(glyphs);
  for (int i = 0; i < count; ++i) out[i].x += style.tracking * i;
  cairo_text_extents_t ext;
  cairo_scaled_font_text_extents(font, text.c_str(), &ext);
  width = ext.x_advance + style.tracking * std::max(0, count - 1);
  return out;
}

// A scratch context for measuring text without a canvas.
cairo_t* MeasureContext() {
  static cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
  static cairo_t* cr = cairo_create(surface);
  return cr;
}

} // namespace

double DrawText(cairo_t* cr, const TextStyle& style, double x, double y, const std::string& text) {
  double width = 0;
  std::vector<cairo_glyph_t> glyphs = LayOut(cr, style, text, width);
  const double left = style.align == Align::Left     ? x
                      : style.align == Align::Centre ? x - width / 2
                                                     : x - width;
  for (auto& g : glyphs) {
    g.x += left;
    g.y += y;
  }
  SetColor(cr, style.color);
  cairo_show_glyphs(cr, glyphs.data(), static_cast<int>(glyphs.size()));
  return width;
}

double TextWidth(const TextStyle& style, const std::string& text) {
  double width = 0;
  LayOut(MeasureContext(), style, text, width);
  return width;
}

double CapHeight(const TextStyle& style) {
  cairo_t* cr = MeasureContext();
  SelectFont(cr, style);
  cairo_text_extents_t ext;
  cairo_text_extents(cr, "H", &ext);
  return -ext.y_bearing;
}

void DrawTextInBox(cairo_t* cr, const TextStyle& style, Box box, const std::string& text) {
  const double x = style.align == Align::Left     ? box.x
                   : style.align == Align::Centre ? box.CX()
                                                  : box.R();
  DrawText(cr, style, x, box.CY() + CapHeight(style) / 2, text);
}

double DrawParagraph(cairo_t* cr, const TextStyle& style, double x, double y, double width,
                     double lineHeight, const std::string& text) {
  std::istringstream paragraphs(text);
  std::string paragraph;
  while (std::getline(paragraphs, paragraph)) {
    std::istringstream words(paragraph);
    std::string word, line;
    while (words >> word) {
      const std::string candidate = line.empty() ? word : line + " " + word;
      if (!line.empty() && TextWidth(style, candidate) > width) {
        DrawText(cr, style, x, y, line);
        y += lineHeight;
        line = word;
      } else {
        line = candidate;
      }
    }
    DrawText(cr, style, x, y, line);
    y += lineHeight;
  }
  return y;
}

// ---- soft shadows --------------------------------------------------------------------

namespace {

// One horizontal or vertical box-blur pass over an A8 buffer.
void BoxBlur(std::vector<uint8_t>& px, int w, int h, int stride, int radius, bool horizontal) {
  if (radius < 1) return;
  const int n = horizontal ? w : h, lines = horizontal ? h : w;
  const int step = horizontal ? 1 : stride, lineStep = horizontal ? stride : 1;
  std::vector<uint8_t> line(n);
  const int span = 2 * radius + 1;
  for (int l = 0; l < lines; ++l) {
    uint8_t* p = px.data() + l * lineStep;
    for (int i = 0; i < n; ++i) line[i] = p[i * step];
    int sum = 0;
    for (int i = -radius; i <= radius; ++i) sum += (i >= 0 && i < n) ? line[i] : 0;
    for (int i = 0; i < n; ++i) {
      p[i * step] = static_cast<uint8_t>((sum + span / 2) / span);
      const int out = i - radius, in = i + radius + 1;
      sum += (in < n ? line[in] : 0) - (out >= 0 ? line[out] : 0);
    }
  }
}

} // namespace

void SoftShadow(cairo_t* cr, Box area, double blur, Rgba c,
                const std::function<void(cairo_t*)>& shape) {
  double x0 = area.x, y0 = area.y, x1 = area.R(), y1 = area.B();
  cairo_user_to_device(cr, &x0, &y0);
  cairo_user_to_device(cr, &x1, &y1);
  const int dx = static_cast<int>(std::floor(x0)), dy = static_cast<int>(std::floor(y0));
  const int w = static_cast<int>(std::ceil(x1)) - dx, h = static_cast<int>(std::ceil(y1)) - dy;
  if (w <= 0 || h <= 0) return;
  double unitX = blur, unitY = 0;
  cairo_user_to_device_distance(cr, &unitX, &unitY);
  const int radius = std::max(1, static_cast<int>(std::lround(std::hypot(unitX, unitY) / 2)));

  cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, w, h);
  cairo_t* mc = cairo_create(mask);
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  m.x0 -= dx;
  m.y0 -= dy;
  cairo_set_matrix(mc, &m);
  cairo_set_source_rgba(mc, 0, 0, 0, 1);
  shape(mc);
  cairo_destroy(mc);

  cairo_surface_flush(mask);
  const int stride = cairo_image_surface_get_stride(mask);
  uint8_t* data = cairo_image_surface_get_data(mask);
  std::vector<uint8_t> px(data, data + stride * h);
  // Three box passes each way come close to a Gaussian blur.
  for (int pass = 0; pass < 3; ++pass) {
    BoxBlur(px, w, h, stride, radius, true);
    BoxBlur(px, w, h, stride, radius, false);
  }
  std::copy(px.begin(), px.end(), data);
  cairo_surface_mark_dirty(mask);

  cairo_save(cr);
  cairo_identity_matrix(cr);
  SetColor(cr, c);
  cairo_mask_surface(cr, mask, dx, dy);
  cairo_restore(cr);
  cairo_surface_destroy(mask);
}

} // namespace art
