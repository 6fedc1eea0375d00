// The IMPULSE RESPONSE panel picture, transparent around its marks: the
// row marks "OFF" and 1..8 beside the cabinet list, separators between the
// rows, the frame around the two user-IR rows with their GAIN/dB boxes,
// and a cabinet drawing in the free corner.

#include <algorithm>
#include <cmath>
#include <string>

#include "tools/artwork/Layout.h"
#include "tools/artwork/Pictures.h"
#include "tools/artwork/Theme.h"

namespace art {

namespace {

// Surface coordinates to the picture's own.
constexpr double X(double surfaceX) {
  return surfaceX - kIrPanel.x;
}
constexpr double Y(double surfaceY) {
  return surfaceY - kIrPanel.y;
}

constexpr double kRowTop = 713, kRowPitch = 50, kRowH = 43;

void RowMarks(cairo_t* cr) {
  const double cx = X(460);
  for (int k = 0; k < 9; ++k) {
    const double cy = Y(kRowTop + kRowPitch * k + kRowH / 2);
    if (k == 0) {
      DrawTextInBox(cr, {Face::Display, 16, theme::kTextDim, Align::Centre, 1.2},
                    {cx - 28, cy - 10, 56, 20}, "OFF");
      continue;
    }
    const bool user = k >= 7;
    StrokeCircle(cr, cx, cy, 14, 1.5, user ? WithAlpha(theme::kCyan, 0.6) : Hex(0x4a4e55));
    DrawTextInBox(cr, {Face::Display, 18, theme::kText, Align::Centre, 0},
                  {cx - 14, cy - 14, 28, 28}, std::to_string(k));
  }
  cairo_set_line_width(cr, 1);
  SetColor(cr, Hex(0xffffff, 0.07));
  for (int k = 0; k < 6; ++k) {
    const double y = Y(kRowTop + kRowPitch * k + kRowH + 3.5);
    cairo_move_to(cr, X(492), std::floor(y) + 0.5);
    cairo_line_to(cr, X(728), std::floor(y) + 0.5);
  }
  cairo_stroke(cr);
}

void UserRows(cairo_t* cr) {
  const Box zone = FromEdges(X(489), Y(1059), X(1059), Y(1162));
  FillRounded(cr, zone, 10, Hex(0xffffff, 0.025));
  StrokeRounded(cr, zone.Inset(0.5), 9.5, 1, WithAlpha(theme::kCyan, 0.18));
  for (double top : {1066.0, 1116.0}) {
    const Box box = FromEdges(X(808), Y(top), X(979), Y(top + 38));
    FillRounded(cr, box, 6, theme::kWell);
    StrokeRounded(cr, box.Inset(0.5), 5.5, 1, theme::kHairline);
    DrawTextInBox(cr, {Face::Display, 15, theme::kTextDim, Align::Centre, 0.6},
                  {X(850), box.y, 52, box.h}, "GAIN");
    DrawTextInBox(cr, {Face::Display, 15, theme::kTextDim, Align::Left, 0},
                  {X(958), box.y, 20, box.h}, "dB");
  }
}

// A 4 x 10" cabinet, drawn quietly so that it does not compete with the list.
void Cabinet(cairo_t* cr) {
  const Box cab = FromEdges(X(806), Y(750), X(1034), Y(1010));
  SoftShadow(cr, cab.Inset(-24), 12, Hex(0x000000, 0.6), [&](cairo_t* m) {
    RoundedRect(m, {cab.x, cab.y + 6, cab.w, cab.h}, 10);
    cairo_fill(m);
  });
  RoundedRect(cr, cab, 10);
  FillVertical(cr, cab.y, cab.B(), Hex(0x222328), Hex(0x18191c));
  const Box cloth = cab.Inset(14);
  RoundedRect(cr, cloth, 4);
  SetColor(cr, Hex(0x2a2b2f));
  cairo_fill(cr);
  cairo_save(cr);
  cairo_rectangle(cr, cloth.x, cloth.y, cloth.w, cloth.h);
  cairo_clip(cr);
  const double r = std::min(cloth.w, cloth.h) * 0.2;
  for (int i = 0; i < 4; ++i) {
    const double cx = cloth.x + cloth.w * (i % 2 == 0 ? 0.27 : 0.73);
    const double cy = cloth.y + cloth.h * (i < 2 ? 0.27 : 0.73);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    FillRadial(cr, cx, cy, r, Hex(0x18191c), Hex(0x212226));
    StrokeCircle(cr, cx, cy, r, 2, Hex(0x141517));
    FillCircle(cr, cx, cy, r * 0.3, Hex(0x1d1e21));
  }
  // Woven cloth.
  cairo_set_line_width(cr, 0.6);
  SetColor(cr, Hex(0xffffff, 0.04));
  for (double x = cloth.x - cloth.h; x < cloth.R(); x += 4) {
    cairo_move_to(cr, x, cloth.y);
    cairo_line_to(cr, x + cloth.h, cloth.B());
  }
  cairo_stroke(cr);
  cairo_restore(cr);
  StrokeRounded(cr, cab.Inset(0.5), 9.5, 1, Hex(0x35383d));
  // Corner caps.
  for (double x : {cab.x, cab.R() - 16})
    for (double y : {cab.y, cab.B() - 16}) FillRounded(cr, {x, y, 16, 16}, 4, Hex(0x3b3e43));
}

} // namespace

void DrawIrPanel(cairo_t* cr) {
  Cabinet(cr);
  RowMarks(cr);
  UserRows(cr);
}

} // namespace art
