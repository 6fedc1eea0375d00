#pragma once

#include <cairo.h>

#include <string_view>
#include <vector>

#include "render/Font.h"
#include "render/Rect.h"
#include "render/TextStyle.h"

namespace igraphics {

// One line of text placed in a rectangle: glyphs positioned in logical
// units, ready for cairo_show_glyphs, and the box the line occupies (its
// advance width by the style's line height).
struct TextLine {
  std::vector<cairo_glyph_t> glyphs;
  Rect box;
  double emSize = 0.0;
};

// Largest text size accepted; beyond it cairo's font machinery fails, and
// a failed scaled font stops the context from drawing anything more.
inline constexpr float kMaxTextSize = 4096.f;

// Lays the text out as `style` aligns it in `bounds`. Horizontal: near puts
// the start on the left edge, far the end on the right edge, centre the
// middle on the middle; vertical: the line box's top on the top edge, its
// middle on the middle, or its bottom on the bottom edge. Hinting of
// advances is off, so widths grow exactly with the size and the drawing
// scale. False (box empty, no glyphs) when the size is unusable; an empty
// text gives a zero-width box at the alignment point.
bool LayoutTextLine(const Font& font, const TextStyle& style, std::string_view text,
                    const Rect& bounds, TextLine& out);

// The font options every text is drawn and measured with.
const cairo_font_options_t* TextFontOptions();

// MeasureText without a drawing context: width of the text, with `bounds`
// set to its box as for DrawContext::MeasureText. 0 for an unknown font.
float MeasureText(const FontRegistry& fonts, const TextStyle& style, std::string_view text,
                  Rect& bounds);

} // namespace igraphics
