// The pedal's parts that are controls of their own: knobs, foot switches,
// the filter lamp, the SAVE button, and the cabinet microphone slider.

#include <cmath>

#include "tools/artwork/Layout.h"
#include "tools/artwork/Pictures.h"
#include "tools/artwork/Theme.h"

namespace art {

namespace {

void Polygon(cairo_t* cr, double cx, double cy, double r, int sides, double phase) {
  for (int i = 0; i < sides; ++i) {
    const double a = phase + 2 * M_PI * i / sides;
    if (i == 0)
      cairo_move_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
    else
      cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
  }
  cairo_close_path(cr);
}

} // namespace

// The knob is turned by rotating its picture, so all of its shading is
// symmetric about the centre (a highlight would turn with the value); the
// static shadow below it belongs to the pedal picture.
void DrawKnob(cairo_t* cr, double size) {
  const double c = size / 2;
  const double outer = c - 3, cap = c * 0.74;
  // Knurled skirt.
  FillCircle(cr, c, c, outer, Hex(0x17181b));
  const int ridges = size > 120 ? 48 : 40;
  for (int i = 0; i < ridges; ++i) {
    const double a0 = 2 * M_PI * i / ridges, a1 = a0 + M_PI / ridges;
    cairo_move_to(cr, c, c);
    cairo_arc(cr, c, c, outer - 1, a0, a1);
    cairo_close_path(cr);
  }
  SetColor(cr, Hex(0x2a2c31));
  cairo_fill(cr);
  StrokeCircle(cr, c, c, outer - 0.5, 1.2, Hex(0x3d4046));
  // Cap with a soft symmetric sheen and a bevelled rim.
  cairo_arc(cr, c, c, cap + 2, 0, 2 * M_PI);
  SetColor(cr, Hex(0x0e0f11));
  cairo_fill(cr);
  cairo_arc(cr, c, c, cap, 0, 2 * M_PI);
  FillRadial(cr, c, c, cap, Hex(0x40444a), Hex(0x24262a));
  StrokeCircle(cr, c, c, cap - 1, 1.2, Hex(0x50545b, 0.8));
  // Pointer: straight up at the middle of the range.
  const double w = size > 120 ? 6 : 5;
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(cr, w);
  cairo_move_to(cr, c, c - cap * 0.28);
  cairo_line_to(cr, c, c - outer + 4);
  SetColor(cr, Hex(0xf4f4f2));
  cairo_stroke(cr);
}

// A chrome stomp switch seen from above: hex nut, collar and plunger cap.
void DrawFootSwitch(cairo_t* cr, bool pressed) {
  const double cx = kFootW / 2, cy = 44;
  SoftShadow(cr, {0, 0, kFootW, kFootH}, 8, Hex(0x000000, 0.65), [&](cairo_t* m) {
    Polygon(m, cx, cy + 4, 31, 6, M_PI / 6);
    cairo_fill(m);
  });
  Polygon(cr, cx, cy, 31, 6, M_PI / 6);
  FillVertical(cr, cy - 31, cy + 31, Hex(0xc3c7cc), Hex(0x5a5e64));
  Polygon(cr, cx, cy, 31, 6, M_PI / 6);
  SetColor(cr, Hex(0x2a2c30));
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  cairo_arc(cr, cx, cy, 24, 0, 2 * M_PI);
  FillVertical(cr, cy - 24, cy + 24, Hex(0x6d7177), Hex(0xb5b9bf));
  const double r = pressed ? 17 : 19.5, y = pressed ? cy + 1.5 : cy;
  if (!pressed) {
    SoftShadow(cr, {cx - 30, cy - 26, 60, 60}, 5, Hex(0x000000, 0.6), [&](cairo_t* m) {
      cairo_arc(m, cx, y + 3, r, 0, 2 * M_PI);
      cairo_fill(m);
    });
  }
  cairo_arc(cr, cx, y, r, 0, 2 * M_PI);
  cairo_pattern_t* p = cairo_pattern_create_radial(cx - r * 0.35, y - r * 0.45, r * 0.1, cx, y, r);
  const Rgba hi = pressed ? Hex(0xb9bdc2) : Hex(0xffffff),
             lo = pressed ? Hex(0x585c62) : Hex(0x7d8288);
  cairo_pattern_add_color_stop_rgb(p, 0, hi.r, hi.g, hi.b);
  cairo_pattern_add_color_stop_rgb(p, 1, lo.r, lo.g, lo.b);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  StrokeCircle(cr, cx, y, r, 1, Hex(0x33363a, 0.9));
}

// The lit filter lamp; the pedal picture holds its bezel and the unlit dome.
void DrawLamp(cairo_t* cr) {
  const double c = kLampSize / 2;
  cairo_arc(cr, c, c, c, 0, 2 * M_PI);
  FillRadial(cr, c, c, c, Hex(0xff3030, 0.55), Hex(0xff0000, 0.0));
  cairo_arc(cr, c, c, 7, 0, 2 * M_PI);
  cairo_pattern_t* p = cairo_pattern_create_radial(c - 1.5, c - 2, 0.5, c, c, 7);
  cairo_pattern_add_color_stop_rgb(p, 0, 1.0, 0.92, 0.9);
  cairo_pattern_add_color_stop_rgb(p, 0.45, 1.0, 0.2, 0.16);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.62, 0.0, 0.0);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

// A rubber push button; pressed, it sits lower and its stripe glows.
void DrawSaveButton(cairo_t* cr, bool pressed) {
  const Box face = pressed ? Box{6, 9, 26, 62} : Box{5, 6, 28, 64};
  if (!pressed) {
    SoftShadow(cr, {0, 0, kSaveW, kSaveH}, 5, Hex(0x000000, 0.7), [&](cairo_t* m) {
      RoundedRect(m, {face.x, face.y + 3, face.w, face.h}, 8);
      cairo_fill(m);
    });
  }
  RoundedRect(cr, face, 8);
  FillVertical(cr, face.y, face.B(), pressed ? Hex(0x2a2c30) : Hex(0x474b51),
               pressed ? Hex(0x1e2023) : Hex(0x2a2d31));
  StrokeRounded(cr, face.Inset(0.5), 7.5, 1, pressed ? Hex(0x17181a) : Hex(0x5b6067));
  // Indicator stripe near the top.
  const Box stripe{face.x + 6, face.y + 7, face.w - 12, 5};
  if (pressed) {
    SoftShadow(cr, {face.x - 4, face.y, face.w + 8, 20}, 6, Hex(0xff2a2a, 0.9), [&](cairo_t* m) {
      RoundedRect(m, stripe, 2.5);
      cairo_fill(m);
    });
  }
  FillRounded(cr, stripe, 2.5, pressed ? Hex(0xff5a4a) : Hex(0x4a1d1d));
  // Grip ridges.
  for (int i = 0; i < 3; ++i) {
    const double y = face.CY() + 6 + i * 7;
    FillRounded(cr, {face.x + 7, y, face.w - 14, 2}, 1, Hex(0x000000, pressed ? 0.35 : 0.3));
  }
}

// The slider handle: a microphone seen from the side, aiming at the list.
void DrawMic(cairo_t* cr) {
  SoftShadow(cr, {0, 0, kMicW, kMicH}, 4, Hex(0x000000, 0.7), [](cairo_t* m) {
    RoundedRect(m, {3, 10, 44, 14}, 6);
    cairo_fill(m);
  });
  // Body and connector end.
  RoundedRect(cr, {3, 9, 30, 12}, 4);
  FillVertical(cr, 9, 21, Hex(0x5d6168), Hex(0x1f2124));
  FillRounded(cr, {28, 8.5, 3.5, 13}, 1, theme::kCyanDeep);
  // Grille head with its mesh.
  const Box head{31, 5, 16, 20};
  RoundedRect(cr, head, 8);
  FillVertical(cr, head.y, head.B(), Hex(0xd6d9dd), Hex(0x6c7076));
  cairo_save(cr);
  RoundedRect(cr, head, 8);
  cairo_clip(cr);
  cairo_set_line_width(cr, 0.8);
  SetColor(cr, Hex(0x2c2f33, 0.55));
  for (double x = head.x - 20; x < head.R(); x += 3) {
    cairo_move_to(cr, x, head.y);
    cairo_line_to(cr, x + 20, head.B());
    cairo_move_to(cr, x + 20, head.y);
    cairo_line_to(cr, x, head.B());
  }
  cairo_stroke(cr);
  cairo_restore(cr);
  StrokeRounded(cr, head, 8, 1, Hex(0x3a3d42));
}

// The slider's rail with one notch per cabinet row ("Off" and 1..8).
void DrawMicTrack(cairo_t* cr) {
  const double travel = 432 - kMicH;
  RoundedRect(cr, {21, 6, 8, 420}, 4);
  SetColor(cr, theme::kWell);
  cairo_fill_preserve(cr);
  SetColor(cr, theme::kHairline);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  for (int k = 0; k < 9; ++k) {
    const double y = kMicH / 2 + travel * k / 8.0;
    FillRounded(cr, {8, y - 1, 9, 2}, 1, Hex(0x5a5e65));
    FillRounded(cr, {33, y - 1, 9, 2}, 1, Hex(0x5a5e65));
  }
}

} // namespace art
