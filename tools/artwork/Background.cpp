// The main background: window, preset column, device status glass, the
// pedal, the effect panel area and the response graph screen. The red
// variant lights the lower (FILTER) label row of the pedal.

#include "tools/artwork/Layout.h"
#include "tools/artwork/Pictures.h"
#include "tools/artwork/Theme.h"

namespace art {

namespace {

constexpr double kColumnW = 306;

void Window(cairo_t* cr) {
  cairo_rectangle(cr, 0, 0, kSurfaceW, kSurfaceH);
  FillVertical(cr, 0, kSurfaceH, Hex(0x17181b), Hex(0x0f1012));
  // A soft light above the pedal.
  cairo_rectangle(cr, kColumnW, 0, kSurfaceW - kColumnW, kSurfaceH);
  FillRadial(cr, kPedal.CX(), kPedal.CY() - 40, 760, Hex(0xffffff, 0.045), Hex(0xffffff, 0.0));
}

void PresetColumn(cairo_t* cr) {
  cairo_rectangle(cr, 0, 0, kColumnW, kSurfaceH);
  SetColor(cr, Hex(0x0e0f11));
  cairo_fill(cr);
  cairo_rectangle(cr, kColumnW, 0, 1, kSurfaceH);
  SetColor(cr, theme::kHairline);
  cairo_fill(cr);

  // Logo.
  cairo_save(cr);
  cairo_translate(cr, 18, 22);
  DrawAppIcon(cr, 56);
  cairo_restore(cr);
  DrawText(cr, {Face::Display, 31, theme::kText, Align::Left, 0.5}, 86, 56, "ZorelControl");
  DrawText(cr, {Face::Regular, 17, theme::kTextDim, Align::Left, 0.4}, 87, 80,
           "Editor & Librarian");

  // Preset name field.
  DrawText(cr, {Face::Regular, 15, theme::kTextDim, Align::Left, 1.2}, 16, 107, "PRESET NAME");
  const Box field = FromEdges(12, 114, 268, 150);
  FillRounded(cr, field, 6, theme::kWell);
  StrokeRounded(cr, field.Inset(0.5), 5.5, 1, theme::kHairline);

  // List well and scroll groove.
  cairo_rectangle(cr, 0, kPresetList.y - 4, kScrollBar.R() + 4, kPresetList.h + 8);
  SetColor(cr, Hex(0x08090a));
  cairo_fill(cr);
  FillRounded(cr, {kScrollBar.CX() - 4, kScrollBar.y + 2, 8, kScrollBar.h - 4}, 4, Hex(0x202226));
}

// Glass behind the three status lines, light enough for their dark text.
void StatusGlass(cairo_t* cr) {
  const Box g =
      FromEdges(kStatusLines.x - 2, kStatusLines.y, kStatusLines.R() + 6, kStatusLines.B() + 2);
  FillRounded(cr, g.Inset(-2), 7, Hex(0x050506));
  RoundedRect(cr, g, 5);
  FillVertical(cr, g.y, g.B(), Hex(0xc2ccd1), Hex(0xa9b5bb));
  RoundedRect(cr, g.Inset(1), 4);
  StrokeVertical(cr, g.y, g.B(), {{0, Hex(0x000000, 0.35)}, {0.3, Hex(0x000000, 0.0)}}, 2);
}

// Which label row belongs to which position of the FILTER switch.
void LayerLegend(cairo_t* cr, bool filterOn) {
  const Box box = FromEdges(1624, 100, 1898, 226);
  FillRounded(cr, box, 12, Hex(0x000000, 0.22));
  StrokeRounded(cr, box.Inset(0.5), 11.5, 1, Hex(0xffffff, 0.06));
  DrawText(cr, {Face::Regular, 15, theme::kTextDim, Align::Left, 1.4}, box.x + 20, box.y + 32,
           "KNOB LABELS");
  const TextStyle row{Face::Regular, 19, Hex(0xb4b8be), Align::Left, 0.2};
  FillRounded(cr, {box.x + 20, box.y + 55, 26, 6}, 3, filterOn ? theme::kSilkDim : theme::kSilk);
  DrawText(cr, row, box.x + 58, box.y + 64, "White: FILTER off");
  FillRounded(cr, {box.x + 20, box.y + 91, 26, 6}, 3, filterOn ? theme::kRedLit : theme::kRedDim);
  DrawText(cr, row, box.x + 58, box.y + 100, "Red: FILTER on");
}

void Panel(cairo_t* cr, Box b) {
  SoftShadow(cr, {b.x - 30, b.y - 30, b.w + 60, b.h + 60}, 16, Hex(0x000000, 0.6), [&](cairo_t* m) {
    RoundedRect(m, {b.x, b.y + 6, b.w, b.h}, 16);
    cairo_fill(m);
  });
  RoundedRect(cr, b, 16);
  FillVertical(cr, b.y, b.B(), Hex(0x1d1f23), Hex(0x17191c));
  StrokeRounded(cr, b.Inset(0.5), 15.5, 1, theme::kPanelEdge);
}

void GraphScreen(cairo_t* cr) {
  const Box frame =
      FromEdges(kGraphSelect.x + 4, kGraphSelect.y - 4, kGraphSelect.R() - 2, kGraphSelect.B() - 2);
  Panel(cr, frame);
  const Box screen = kGraph.Inset(-6);
  RoundedRect(cr, screen, 8);
  FillVertical(cr, screen.y, screen.B(), Hex(0x0a0b0d), Hex(0x0e1013));
  StrokeRounded(cr, screen.Inset(0.5), 7.5, 1, Hex(0x000000, 0.8));
}

} // namespace

void DrawBackground(cairo_t* cr, bool filterOn) {
  Window(cr);
  PresetColumn(cr);
  StatusGlass(cr);
  DrawPedal(cr, {filterOn, false});
  LayerLegend(cr, filterOn);
  Panel(cr, kPanelArea);
  GraphScreen(cr);
}

} // namespace art
