// The firmware page and the settings page pictures (1920 x 1080). Both lie
// over the main surface, so only their panel is opaque; a wide shadow sets
// it off from the surface below.

#include <array>
#include <cmath>
#include <string>

#include "tools/artwork/Pictures.h"
#include "tools/artwork/Theme.h"

namespace art {

namespace {

void Sheet(cairo_t* cr, Box b, double radius, Rgba top, Rgba bottom) {
  SoftShadow(cr, b.Inset(-70), 40, Hex(0x000000, 0.85), [&](cairo_t* m) {
    RoundedRect(m, {b.x, b.y + 14, b.w, b.h}, radius);
    cairo_fill(m);
  });
  RoundedRect(cr, b, radius);
  FillVertical(cr, b.y, b.B(), top, bottom);
  StrokeRounded(cr, b.Inset(0.5), radius - 0.5, 1, theme::kPanelEdge);
}

const std::array<const char*, 7> kSteps = {
    "Connect a MIDI interface to this computer.",
    "Choose its ports in File \xE2\x80\xBA MIDI Settings... (Ctrl+,).",
    "Cross the cables: the interface's MIDI OUT to the pedal's MIDI IN, the pedal's MIDI OUT "
    "to the interface's MIDI IN.",
    "Hold the pedal's tuner switch down while you power it on; it starts in update mode.",
    "Click UPDATE FIRMWARE and choose the firmware file (.bin).",
    "Wait until the progress shows 100 %. Keep the pedal powered and connected meanwhile.",
    "Restart the pedal, then close this page: the editor connects to it again.",
};

void Jack(cairo_t* cr, double cx, double cy, const char* label) {
  FillCircle(cr, cx, cy, 15, Hex(0x0b0c0d));
  StrokeCircle(cr, cx, cy, 15, 2, Hex(0x8d9197));
  for (int i = 0; i < 5; ++i) {
    const double a = M_PI * (0.75 + 0.375 * i) - M_PI / 2;
    FillCircle(cr, cx + 8 * std::cos(a), cy - 8 * std::sin(a), 1.8, Hex(0x8d9197));
  }
  DrawText(cr, {Face::Display, 14, theme::kTextDim, Align::Centre, 1.2}, cx, cy + 34, label);
}

void Cable(cairo_t* cr, double x0, double y0, double x1, double y1, Rgba c) {
  cairo_set_line_width(cr, 5);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  SetColor(cr, c);
  const double dir = x1 > x0 ? 1 : -1, reach = std::abs(x1 - x0) * 0.45;
  cairo_move_to(cr, x0, y0);
  cairo_curve_to(cr, x0 + dir * reach, y0, x1 - dir * reach, y1, x1 - dir * 14, y1);
  cairo_stroke(cr);
  // Arrow head at the receiving end.
  cairo_move_to(cr, x1, y1);
  cairo_line_to(cr, x1 - dir * 18, y1 - 9);
  cairo_line_to(cr, x1 - dir * 18, y1 + 9);
  cairo_close_path(cr);
  cairo_fill(cr);
}

// The interface and the pedal with their MIDI cables crossed.
void Wiring(cairo_t* cr) {
  const Box iface = FromEdges(1010, 420, 1170, 590), pedal = FromEdges(1370, 420, 1530, 590);
  for (const Box& b : {iface, pedal}) {
    RoundedRect(cr, b, 12);
    FillVertical(cr, b.y, b.B(), Hex(0x2c2f34), Hex(0x1f2125));
    StrokeRounded(cr, b.Inset(0.5), 11.5, 1, Hex(0x43474d));
  }
  const TextStyle title{Face::Display, 18, theme::kText, Align::Centre, 1.5};
  DrawText(cr, title, iface.CX(), iface.y + 34, "INTERFACE");
  DrawText(cr, title, pedal.CX(), pedal.y + 34, "ZOREL");
  Jack(cr, iface.R() - 40, 480, "OUT");
  Jack(cr, iface.R() - 40, 545, "IN");
  Jack(cr, pedal.x + 40, 480, "OUT");
  Jack(cr, pedal.x + 40, 545, "IN");
  // OUT to IN both ways, so the cables cross.
  Cable(cr, iface.R() - 25, 480, pedal.x + 25, 545, theme::kCyanDeep);
  Cable(cr, pedal.x + 25, 480, iface.R() - 25, 545, Hex(0xb0b5bb));
}

} // namespace

void DrawFirmwarePage(cairo_t* cr) {
  const Box sheet = FromEdges(330, 270, 1590, 930);
  Sheet(cr, sheet, 18, Hex(0x191b1e), Hex(0x111214));
  DrawText(cr, {Face::Display, 40, theme::kText, Align::Left, 1}, 372, 336, "FIRMWARE UPDATE");
  DrawText(cr, {Face::Regular, 21, theme::kTextDim, Align::Right, 0}, 730, 370, "Latest firmware:");
  cairo_rectangle(cr, 372, 392, sheet.R() - 42 - 372, 1);
  SetColor(cr, theme::kHairline);
  cairo_fill(cr);

  const TextStyle text{Face::Regular, 21, Hex(0xd5d8dc), Align::Left, 0};
  double y = 440;
  for (size_t i = 0; i < kSteps.size(); ++i) {
    const double cx = 392, cy = y - 7;
    StrokeCircle(cr, cx, cy, 15, 2, theme::kCyanDeep);
    DrawTextInBox(cr, {Face::Display, 18, theme::kCyan, Align::Centre, 0},
                  {cx - 15, cy - 15, 30, 30}, std::to_string(i + 1));
    y = DrawParagraph(cr, text, 424, y, 560, 28, kSteps[i]) + 22;
  }
  Wiring(cr);
  DrawText(cr, {Face::Regular, 17, theme::kTextFaint, Align::Left, 0}, 1222, 690,
           "Firmware files end in .bin");
}

void DrawSettingsPage(cairo_t* cr) {
  const Box sheet = FromEdges(653, 196, 1533, 897);
  Sheet(cr, sheet, 14, Hex(0x0b0b0c), Hex(0x050505));
  DrawText(cr, {Face::Display, 20, WithAlpha(theme::kCyan, 0.85), Align::Left, 2.5}, 684, 236,
           "PEDAL SETTINGS");
}

} // namespace art
