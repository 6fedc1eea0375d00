// Text on the drawing context.
#include <memory>

#include "render/DrawContext.h"
#include "render/DrawGuards.h"
#include "render/TextLayout.h"

namespace igraphics {

void DrawContext::DrawText(const TextStyle& style, std::string_view text, const Rect& bounds) {
  if (mCr == nullptr || mFonts == nullptr || text.empty() || !detail::Finite(style.angle)) return;
  const std::shared_ptr<const Font> font = mFonts->Find(style.font);
  TextLine line;
  if (font == nullptr || !LayoutTextLine(*font, style, text, bounds, line) || line.glyphs.empty())
    return;

  cairo_new_path(mCr);
  cairo_save(mCr);
  if (style.angle != 0.f) {
    cairo_translate(mCr, bounds.MW(), bounds.MH());
    cairo_rotate(mCr, detail::Radians(style.angle));
    cairo_translate(mCr, -bounds.MW(), -bounds.MH());
  }
  // The scaled font is built for the context's transform and checked before
  // cairo sees it: a failure inside cairo_show_glyphs would end all drawing.
  cairo_matrix_t fontMatrix, ctm;
  cairo_matrix_init_scale(&fontMatrix, line.emSize, line.emSize);
  cairo_get_matrix(mCr, &ctm);
  cairo_scaled_font_t* sf =
      cairo_scaled_font_create(font->Face(), &fontMatrix, &ctm, TextFontOptions());
  if (cairo_scaled_font_status(sf) == CAIRO_STATUS_SUCCESS) {
    cairo_set_scaled_font(mCr, sf);
    SetSourceColor(style.fgColor);
    cairo_show_glyphs(mCr, line.glyphs.data(), static_cast<int>(line.glyphs.size()));
  }
  cairo_scaled_font_destroy(sf);
  cairo_restore(mCr);
}

float DrawContext::MeasureText(const TextStyle& style, std::string_view text, Rect& bounds) const {
  if (mFonts == nullptr) return 0.f;
  return igraphics::MeasureText(*mFonts, style, text, bounds);
}

} // namespace igraphics
