#include "render/TextLayout.h"

#include <cmath>
#include <memory>

#include "render/Utf8.h"

namespace igraphics {

const cairo_font_options_t* TextFontOptions() {
  static const std::unique_ptr<cairo_font_options_t, decltype(&cairo_font_options_destroy)>
      options = [] {
        cairo_font_options_t* o = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_SLIGHT);
        cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
        return std::unique_ptr<cairo_font_options_t, decltype(&cairo_font_options_destroy)>(
            o, cairo_font_options_destroy);
      }();
  return options.get();
}

namespace {

// Glyphs of the text from the origin and the total advance.
bool ShapeLine(const Font& font, double em, std::string_view utf8,
               std::vector<cairo_glyph_t>& glyphs, double& advance) {
  cairo_matrix_t fontMatrix, ctm;
  cairo_matrix_init_scale(&fontMatrix, em, em);
  cairo_matrix_init_identity(&ctm);
  cairo_scaled_font_t* sf =
      cairo_scaled_font_create(font.Face(), &fontMatrix, &ctm, TextFontOptions());
  const auto release = std::unique_ptr<cairo_scaled_font_t, decltype(&cairo_scaled_font_destroy)>(
      sf, cairo_scaled_font_destroy);
  if (cairo_scaled_font_status(sf) != CAIRO_STATUS_SUCCESS) return false;

  glyphs.clear();
  advance = 0.0;
  if (utf8.empty()) return true;
  cairo_glyph_t* list = nullptr;
  int count = 0;
  if (cairo_scaled_font_text_to_glyphs(sf, 0, 0, utf8.data(), static_cast<int>(utf8.size()), &list,
                                       &count, nullptr, nullptr, nullptr) != CAIRO_STATUS_SUCCESS) {
    cairo_glyph_free(list);
    return false;
  }
  if (count > 0) {
    glyphs.assign(list, list + count);
    cairo_text_extents_t last;
    cairo_scaled_font_glyph_extents(sf, &list[count - 1], 1, &last);
    advance = list[count - 1].x + last.x_advance;
  }
  cairo_glyph_free(list);
  return true;
}

} // namespace

bool LayoutTextLine(const Font& font, const TextStyle& style, std::string_view text,
                    const Rect& bounds, TextLine& out) {
  out.glyphs.clear();
  out.box = {};
  const float size = style.size;
  if (!std::isfinite(size) || !(size > 0.f) || size > kMaxTextSize) return false;
  out.emSize = size * font.EmPerLine();
  double advance = 0.0;
  if (!ShapeLine(font, out.emSize, SanitizeUtf8(text), out.glyphs, advance)) return false;

  double x = bounds.L;
  if (style.align == EAlign::Center) x = bounds.MW() - 0.5 * advance;
  if (style.align == EAlign::Far) x = bounds.R - advance;
  double top = bounds.T;
  if (style.valign == EVAlign::Middle) top = bounds.MH() - 0.5 * size;
  if (style.valign == EVAlign::Bottom) top = bounds.B - size;
  const double baseline = top + size * font.AscentPerLine();

  for (cairo_glyph_t& g : out.glyphs) {
    g.x += x;
    g.y += baseline;
  }
  out.box = Rect(static_cast<float>(x), static_cast<float>(top), static_cast<float>(x + advance),
                 static_cast<float>(top + size));
  return true;
}

float MeasureText(const FontRegistry& fonts, const TextStyle& style, std::string_view text,
                  Rect& bounds) {
  const std::shared_ptr<const Font> font = fonts.Find(style.font);
  TextLine line;
  if (font == nullptr || !LayoutTextLine(*font, style, text, bounds, line)) return 0.f;
  bounds = line.box;
  return line.box.W();
}

} // namespace igraphics
