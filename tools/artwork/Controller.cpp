// A MIDI foot controller (512 x 120): the unit whose program changes the
// program-map page translates into pedal programs.

#include <cmath>
#include <string>

#include "tools/artwork/Pictures.h"
#include "tools/artwork/Theme.h"

namespace art {

void DrawFootController(cairo_t* cr) {
  const Box body{6, 8, 500, 104};
  SoftShadow(cr, {0, 0, 512, 120}, 6, Hex(0x000000, 0.7), [&](cairo_t* m) {
    RoundedRect(m, {body.x, body.y + 4, body.w, body.h}, 12);
    cairo_fill(m);
  });
  RoundedRect(cr, body, 12);
  FillVertical(cr, body.y, body.B(), Hex(0x3a3d43), Hex(0x23252a));
  StrokeRounded(cr, body.Inset(0.5), 11.5, 1, Hex(0x0b0c0d));
  // Sloped front strip with the display.
  const Box strip{body.x + 10, body.y + 8, body.w - 20, 28};
  FillRounded(cr, strip, 6, Hex(0x1b1d20));
  const Box lcd{strip.x + 8, strip.y + 4, 92, 20};
  FillRounded(cr, lcd, 3, Hex(0x0d2224));
  DrawTextInBox(cr, {Face::Segment, 13, theme::kCyan, Align::Centre, 1}, lcd, "P-001");
  DrawText(cr, {Face::Display, 13, theme::kTextDim, Align::Right, 3}, strip.R() - 12,
           strip.CY() + 5, "MIDI CONTROLLER");
  // Six switches with their lamps and numbers; the first is lit.
  for (int i = 0; i < 6; ++i) {
    const double cx = body.x + 44 + i * 78, cy = body.y + 72;
    FillCircle(cr, cx, cy - 26, 3.2, i == 0 ? theme::kRedLit : Hex(0x3a1414));
    cairo_arc(cr, cx, cy + 2, 18, 0, 2 * M_PI);
    FillVertical(cr, cy - 16, cy + 20, Hex(0xc3c7cc), Hex(0x5a5e64));
    cairo_arc(cr, cx, cy + 1, 11, 0, 2 * M_PI);
    FillRadial(cr, cx - 3, cy - 3, 12, Hex(0xffffff), Hex(0x7d8288));
    const std::string label = i < 5 ? std::to_string(i + 1) : "BANK";
    DrawText(cr, {Face::Display, 11, theme::kTextDim, Align::Left, 0.5}, cx + 22, cy + 6, label);
  }
}

} // namespace art
