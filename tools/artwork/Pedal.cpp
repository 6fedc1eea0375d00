// The pedal in the main background: enclosure, knob scales, both rows of
// knob labels (white: FILTER off, red: FILTER on), switch labels, the
// preset display window and the lamp bezel, all placed under the controls
// of the surface layout.

#include <algorithm>
#include <cmath>

#include "tools/artwork/Layout.h"
#include "tools/artwork/Pictures.h"
#include "tools/artwork/Theme.h"

namespace art {

namespace {

constexpr double kLabelSize = 22;
const Box kDisplayGlass = FromEdges(1212, 306, 1396, 412);

TextStyle Silk(double size, Rgba color, Align align = Align::Centre, double tracking = 1.2) {
  return {Face::Display, size, color, align, tracking};
}

void Screw(cairo_t* cr, double x, double y) {
  cairo_arc(cr, x, y, 7, 0, 2 * M_PI);
  FillVertical(cr, y - 7, y + 7, Hex(0x9da1a7), Hex(0x4a4e54));
  StrokeCircle(cr, x, y, 7, 1, Hex(0x1a1b1d));
  cairo_set_line_width(cr, 1.6);
  SetColor(cr, Hex(0x26282b));
  cairo_move_to(cr, x - 4.2, y - 2.4);
  cairo_line_to(cr, x + 4.2, y + 2.4);
  cairo_stroke(cr);
}

void Enclosure(cairo_t* cr) {
  const Box body = kPedal;
  SoftShadow(cr, {body.x - 50, body.y - 40, body.w + 100, body.h + 100}, 26, Hex(0x000000, 0.75),
             [&](cairo_t* m) {
               RoundedRect(m, {body.x, body.y + 12, body.w, body.h}, 28);
               cairo_fill(m);
             });
  RoundedRect(cr, body, 28);
  FillVertical(cr, body.y, body.B(), theme::kMetalTop, theme::kMetalBottom);
  // Bevel: light along the top edge, dark along the bottom.
  RoundedRect(cr, body.Inset(1.5), 26.5);
  StrokeVertical(cr, body.y, body.B(),
                 {{0, Hex(0xffffff, 0.22)}, {0.25, Hex(0xffffff, 0.03)}, {1, Hex(0x000000, 0.35)}},
                 2);
  StrokeRounded(cr, body, 28, 1.2, Hex(0x050506));

  // The stomp area, slightly sunken.
  const Box zone = kFootZone;
  RoundedRect(cr, zone, 18);
  FillVertical(cr, zone.y, zone.B(), Hex(0x17181b), Hex(0x1e2024));
  RoundedRect(cr, zone.Inset(0.75), 17.5);
  StrokeVertical(cr, zone.y, zone.B(), {{0, Hex(0x000000, 0.6)}, {1, Hex(0xffffff, 0.08)}}, 1.5);

  Screw(cr, body.x + 22, body.y + 22);
  Screw(cr, body.R() - 22, body.y + 22);
  Screw(cr, body.x + 22, body.B() - 22);
  Screw(cr, body.R() - 22, body.B() - 22);
}

// Recess, shadow and scale of one knob position: eleven ticks over the
// knob's travel of -135..+135 degrees, longer at both ends and the middle.
void KnobScale(cairo_t* cr, const Box& knob) {
  const double cx = knob.CX(), cy = knob.CY(), r = knob.w / 2;
  SoftShadow(cr, {knob.x - 20, knob.y - 20, knob.w + 40, knob.h + 44}, 10, Hex(0x000000, 0.8),
             [&](cairo_t* m) {
               cairo_arc(m, cx, cy + 5, r - 3, 0, 2 * M_PI);
               cairo_fill(m);
             });
  StrokeCircle(cr, cx, cy, r + 1.5, 2, Hex(0x000000, 0.35));
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int i = 0; i <= 10; ++i) {
    const double deg = -135 + 27 * i, a = deg * M_PI / 180;
    const bool major = i == 0 || i == 5 || i == 10;
    const double r0 = r + 4, r1 = r + (major ? 11 : 8);
    cairo_move_to(cr, cx + r0 * std::sin(a), cy - r0 * std::cos(a));
    cairo_line_to(cr, cx + r1 * std::sin(a), cy - r1 * std::cos(a));
    SetColor(cr, major ? Hex(0xc9cbce) : Hex(0x8d9095));
    cairo_set_line_width(cr, major ? 2.4 : 1.8);
    cairo_stroke(cr);
  }
}

void LitText(cairo_t* cr, const TextStyle& style, double x, double y, const std::string& text) {
  const double w = TextWidth(style, text) + 40;
  const double left = style.align == Align::Centre ? x - w / 2 : x - 20;
  SoftShadow(cr, {left, y - style.size - 16, w, style.size + 32}, 9, Hex(0xff2020, 0.85),
             [&](cairo_t* m) { DrawText(m, style, x, y, text); });
  DrawText(cr, style, x, y, text);
}

void KnobLabels(cairo_t* cr, bool filterOn) {
  const Rgba upper = filterOn ? theme::kSilkDim : theme::kSilk;
  for (const PedalKnob& k : kPedalKnobs) {
    const double cx = k.box.CX();
    if (*k.lower == '\0') { // LEVEL: one label below, valid in both layers
      DrawText(cr, Silk(kLabelSize, theme::kSilk), cx, k.box.B() + 26, k.upper);
      continue;
    }
    DrawText(cr, Silk(kLabelSize, upper), cx, k.box.y - 15, k.upper);
    TextStyle lower = Silk(kLabelSize, filterOn ? theme::kRedLit : theme::kRedDim);
    double x = cx;
    // The Q label moves right of the filter lamp that sits below HIGH.
    const double half = TextWidth(lower, k.lower) / 2;
    if (x - half < kLamp.x + kLampSize + 6 && x + half > kLamp.x && k.box.B() < kLamp.y + kLampSize)
      x = kLamp.x + kLampSize + 6 + half;
    if (filterOn)
      LitText(cr, lower, x, k.box.B() + 25, k.lower);
    else
      DrawText(cr, lower, x, k.box.B() + 25, k.lower);
  }
}

void Triangle(cairo_t* cr, double cx, double cy, double size, bool up, Rgba c) {
  const double h = size * 0.8;
  cairo_move_to(cr, cx - size / 2, up ? cy + h / 2 : cy - h / 2);
  cairo_line_to(cr, cx + size / 2, up ? cy + h / 2 : cy - h / 2);
  cairo_line_to(cr, cx, up ? cy - h / 2 : cy + h / 2);
  cairo_close_path(cr);
  SetColor(cr, c);
  cairo_fill(cr);
}

void SwitchLabels(cairo_t* cr, bool filterOn) {
  const TextStyle label = Silk(18, theme::kSilk);
  const double base = 500;
  const double down = kFootDown.x + kFootW / 2, centre = kFootCentre.x + kFootW / 2,
               up = kFootUp.x + kFootW / 2;
  const double wDown = TextWidth(label, "PRESET");
  DrawText(cr, label, down + 8, base, "PRESET");
  Triangle(cr, down + 8 - wDown / 2 - 12, base - 6.5, 12, false, theme::kSilk);
  DrawText(cr, label, centre, base, "RECALL");
  DrawText(cr, label, up - 8, base, "PRESET");
  Triangle(cr, up - 8 + wDown / 2 + 12, base - 6.5, 12, true, theme::kSilk);

  const double fx = kFilterSwitch.x + kFootW / 2;
  TextStyle filter = Silk(20, filterOn ? theme::kRedLit : theme::kRedDim);
  if (filterOn)
    LitText(cr, filter, fx, kFilterSwitch.y - 8, "FILTER");
  else
    DrawText(cr, filter, fx, kFilterSwitch.y - 8, "FILTER");
  DrawText(cr, Silk(17, theme::kSilk), kSave.x + kSaveW / 2, kSave.y + kSaveH + 22, "SAVE");
}

void Branding(cairo_t* cr) {
  const double cx = (kFootDown.x + kFootW + kFootCentre.x) / 2;
  DrawText(cr, Silk(15, theme::kSilkDim, Align::Centre, 7), cx + 3, 532, "MOVRANT");
  DrawText(cr, Silk(58, theme::kSilk, Align::Centre, 4), cx + 2, 590, "ZOREL");
  const double rx = (kFootCentre.x + kFootW + kFootUp.x) / 2;
  DrawText(cr, Silk(14, theme::kSilkDim, Align::Centre, 5), rx, 566,
           "PREAMP  \xC2\xB7  FX  \xC2\xB7  MIDI");
}

void DisplayWindow(cairo_t* cr) {
  const Box g = kDisplayGlass;
  SoftShadow(cr, {g.x - 16, g.y - 16, g.w + 32, g.h + 32}, 6, Hex(0xffffff, 0.10), [&](cairo_t* m) {
    RoundedRect(m, {g.x, g.y + 2, g.w, g.h}, 9);
    cairo_fill(m);
  });
  FillRounded(cr, g.Inset(-3), 11, Hex(0x0a0b0c));
  RoundedRect(cr, g, 8);
  FillVertical(cr, g.y, g.B(), Hex(0x0b0505), Hex(0x050303));
  // A faint reflection across the top of the glass.
  RoundedRect(cr, {g.x + 3, g.y + 3, g.w - 6, g.h * 0.42}, 6);
  FillVertical(cr, g.y, g.y + g.h * 0.45, Hex(0xffffff, 0.06), Hex(0xffffff, 0.0));
}

void LampBezel(cairo_t* cr) {
  const double cx = kLamp.x + kLampSize / 2, cy = kLamp.y + kLampSize / 2;
  cairo_arc(cr, cx, cy, 11, 0, 2 * M_PI);
  FillVertical(cr, cy - 11, cy + 11, Hex(0xa5a9af), Hex(0x3e4146));
  cairo_arc(cr, cx, cy, 7.5, 0, 2 * M_PI);
  FillRadial(cr, cx - 1.5, cy - 2, 7.5, Hex(0x5a2020), Hex(0x260b0b));
}

// The controls drawn in place, for pictures of the whole pedal.
void Controls(cairo_t* cr) {
  const double values[8] = {0.62, 0.45, 0.55, 0.7, 0.35, 0.4, 0.58, 0.75};
  for (size_t i = 0; i < kPedalKnobs.size(); ++i) {
    const Box& b = kPedalKnobs[i].box;
    cairo_save(cr);
    cairo_translate(cr, b.CX(), b.CY());
    cairo_rotate(cr, (values[i] * 270 - 135) * M_PI / 180);
    cairo_translate(cr, -b.w / 2, -b.h / 2);
    DrawKnob(cr, b.w);
    cairo_restore(cr);
  }
  for (Spot s : {kFootDown, kFootCentre, kFootUp, kFilterSwitch}) {
    cairo_save(cr);
    cairo_translate(cr, s.x, s.y);
    DrawFootSwitch(cr, false);
    cairo_restore(cr);
  }
  cairo_save(cr);
  cairo_translate(cr, kSave.x, kSave.y);
  DrawSaveButton(cr, false);
  cairo_restore(cr);
  TextStyle seg{Face::Segment, kDisplayDigitSize, Hex(0x333333), Align::Right, 0};
  const Box d = kPresetDisplay;
  DrawText(cr, seg, d.R(), d.y + kDisplayDigitSize, "188");
  seg.color = Hex(0xffffff);
  DrawText(cr, seg, d.R(), d.y + kDisplayDigitSize, "01");
}

} // namespace

void DrawPedal(cairo_t* cr, PedalLook look) {
  Enclosure(cr);
  for (const PedalKnob& k : kPedalKnobs) KnobScale(cr, k.box);
  KnobLabels(cr, look.filterOn);
  SwitchLabels(cr, look.filterOn);
  Branding(cr);
  DisplayWindow(cr);
  LampBezel(cr);
  if (look.controls) Controls(cr);
}

} // namespace art
