// The application icon: a dark tile with a knob and its cyan value arc,
// simplified at the smallest sizes so that it still reads at 16 pixels.

#include <algorithm>
#include <cmath>

#include "tools/artwork/Pictures.h"
#include "tools/artwork/Theme.h"

namespace art {

void DrawAppIcon(cairo_t* cr, double s) {
  const bool tiny = s < 40;
  const Box tile{s * 0.03, s * 0.03, s * 0.94, s * 0.94};
  RoundedRect(cr, tile, s * 0.22);
  FillVertical(cr, tile.y, tile.B(), Hex(0x30343a), Hex(0x131518));
  if (!tiny) StrokeRounded(cr, tile.Inset(s * 0.01), s * 0.21, s * 0.015, Hex(0xffffff, 0.12));

  const double c = s / 2, arcR = s * 0.32, start = (90 + 45) * M_PI / 180,
               value = start + 0.7 * 1.5 * M_PI;
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(cr, std::max(1.5, s * (tiny ? 0.1 : 0.075)));
  cairo_arc(cr, c, c + s * 0.03, arcR, start, start + 1.5 * M_PI);
  SetColor(cr, Hex(0x4a4f57));
  cairo_stroke(cr);
  cairo_arc(cr, c, c + s * 0.03, arcR, start, value);
  SetColor(cr, theme::kCyanDeep);
  cairo_stroke(cr);

  const double knobR = s * (tiny ? 0.17 : 0.2);
  cairo_arc(cr, c, c + s * 0.03, knobR, 0, 2 * M_PI);
  FillRadial(cr, c, c + s * 0.03, knobR, Hex(0x4c5058), Hex(0x2a2d32));
  cairo_set_line_width(cr, std::max(1.2, s * 0.05));
  cairo_move_to(cr, c, c + s * 0.03);
  cairo_line_to(cr, c + knobR * 0.95 * std::cos(value),
                c + s * 0.03 + knobR * 0.95 * std::sin(value));
  SetColor(cr, Hex(0xf2f2f2));
  cairo_stroke(cr);
}

} // namespace art
