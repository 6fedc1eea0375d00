// Mock-ups of the surface for review: the pictures placed where the layout
// puts them, and rough stand-ins for the vector controls (buttons, panel
// knobs, list rows, graph) in the colours of their styles, so the artwork
// can be judged in context before the real surface exists.

#include <cmath>
#include <string>

#include "tools/artwork/Layout.h"
#include "tools/artwork/Painter.h"
#include "tools/artwork/Preview.h"
#include "tools/artwork/Theme.h"

namespace art {

namespace {

constexpr Rgba kListText = Hex(0x64ffff, 150 / 255.0);
constexpr Rgba kCaptionGrey = Hex(0x666666), kValueGrey = Hex(0xcccccc);

void Blit(cairo_t* cr, cairo_surface_t* image, double x, double y, int frame = 0, int frames = 1) {
  if (image == nullptr) return;
  const double w = cairo_image_surface_get_width(image);
  const double h = cairo_image_surface_get_height(image) / static_cast<double>(frames);
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  cairo_set_source_surface(cr, image, x, y - frame * h);
  cairo_paint(cr);
  cairo_restore(cr);
}

void Rotated(cairo_t* cr, cairo_surface_t* image, const Box& box, double value) {
  if (image == nullptr) return;
  cairo_save(cr);
  cairo_translate(cr, box.CX(), box.CY());
  cairo_rotate(cr, (270 * value - 135) * M_PI / 180);
  cairo_set_source_surface(cr, image, -box.w / 2, -box.h / 2);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  cairo_paint(cr);
  cairo_restore(cr);
}

// A text control with top alignment: the baseline one ascent below the top.
void TopText(cairo_t* cr, const TextStyle& s, const Box& b, const std::string& text) {
  const double x = s.align == Align::Left ? b.x : s.align == Align::Centre ? b.CX() : b.R();
  DrawText(cr, s, x, b.y + s.size * 0.93, text);
}

// kStyleButton: grey face, black frame and label, shadow to the lower right.
void VButton(cairo_t* cr, const Box& b, const std::string& label, double size) {
  const double r = std::min(b.w, b.h) / 2;
  FillRounded(cr, {b.x + 2, b.y + 2, b.w - 2, b.h - 2}, r, Hex(0x000000, 60 / 255.0));
  const Box face{b.x, b.y, b.w - 2, b.h - 2};
  FillRounded(cr, face, r, Hex(0x747474));
  StrokeRounded(cr, face.Inset(1), r - 1, 2, Hex(0x000000));
  DrawTextInBox(cr, {Face::Regular, size, Hex(0x000000), Align::Centre, 0}, face, label);
}

// kStyleKnob on an IVKnobControl: grey track, cyan value arc, cyan body.
void VKnob(cairo_t* cr, const Box& b, double value) {
  const double cx = b.CX(), cy = b.CY(), radius = b.w / 2, track = 18;
  auto arc = [&](double from, double to, Rgba c) {
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, radius - track / 2, (from - 90) * M_PI / 180, (to - 90) * M_PI / 180);
    SetColor(cr, c);
    cairo_set_line_width(cr, track);
    cairo_stroke(cr);
  };
  arc(-135, 135, Hex(0x464646));
  arc(-135, -135 + 270 * value, theme::kCyanDeep);
  const double body = radius - track - std::max(2.0, 0.08 * radius);
  FillCircle(cr, cx + 3, cy + 3, body, Hex(0x464646));
  FillCircle(cr, cx, cy, body, theme::kCyanDeep);
  StrokeCircle(cr, cx, cy, body - 0.5, 1, Hex(0x000000));
  const double a = (-135 + 270 * value - 90) * M_PI / 180;
  cairo_move_to(cr, cx + std::cos(a) * body * 0.3, cy + std::sin(a) * body * 0.3);
  cairo_line_to(cr, cx + std::cos(a) * body * 0.85, cy + std::sin(a) * body * 0.85);
  cairo_set_line_width(cr, std::max(2.0, body * 0.08));
  SetColor(cr, Hex(0x000000));
  cairo_stroke(cr);
}

void LargeKnob(cairo_t* cr, double l, double t, const char* caption, const char* value,
               const char* unit, double v) {
  VKnob(cr, {l, t, 200, 200}, v);
  TopText(cr, {Face::Display, 26, kCaptionGrey, Align::Centre, 0}, {l, t - 40, 200, 30}, caption);
  TopText(cr, {Face::Display, 40, kValueGrey, Align::Centre, 0}, {l, t + 75, 200, 40}, value);
  TopText(cr, {Face::Display, 34, kCaptionGrey, Align::Centre, 0}, {l, t + 150, 200, 34}, unit);
}

void SlideSwitch(cairo_t* cr, const Box& b, bool on) {
  FillRounded(cr, b, b.h / 2, Hex(0x464646));
  const double d = b.h - 6;
  FillCircle(cr, on ? b.R() - 3 - d / 2 : b.x + 3 + d / 2, b.CY(), d / 2, theme::kCyanDeep);
}

void PresetColumn(cairo_t* cr) {
  const char* names[] = {"Clean Bass",  "Slap Funk",    "Fat Fingers", "Motown Warm", "Grit Drive",
                         "Fuzz Wall",   "Tight Pick",   "Dub Low",     "Studio DI",   "Chorus Fret",
                         "Synth Stab",  "Upright",      "Hall Solo",   "Echo Lead",   "Razor Edge",
                         "Vintage 70s", "Modern Punch", "Room Jazz",   "Darkface",    "Isle Tone"};
  for (int k = 0; k < 20; ++k) {
    const Box row{1, 228.0 + 50 * k, 260, 48};
    FillRounded(cr, row, 0, Hex(0x262626));
    char text[64];
    std::snprintf(text, sizeof text, " %02d %s", k + 1, names[k]);
    DrawTextInBox(cr, {Face::Regular, 27, k == 4 ? theme::kCyan : kListText, Align::Left, 0}, row,
                  text);
  }
  FillRounded(cr, {kScrollBar.x + 12, kScrollBar.y, 16, 60}, 3, Hex(0x5e5e5e));
  DrawTextInBox(cr, {Face::Regular, 24, theme::kCyan, Align::Left, 0}, kPresetName, "Grit Drive");
  VButton(cr, FromEdges(15, 170, 130, 215), "IMPORT", 18);
  VButton(cr, FromEdges(135, 170, 250, 215), "EXPORT", 18);
}

void DeviceStatus(cairo_t* cr) {
  VButton(cr, kReconnect, "RECONNECT", 18);
  const char* lines[] = {"Dravix Movrant Zorel", "Firmware version 2.04", "Serial number 001234"};
  for (int i = 0; i < 3; ++i)
    DrawTextInBox(cr, {Face::Regular, 22, Hex(0x000000), Align::Left, 0},
                  {660, 5.0 + 22 * i, 400, 24}, lines[i]);
}

void PedalControls(cairo_t* cr, const PictureLookup& pic, bool filterOn) {
  const double values[8] = {0.62, 0.45, 0.5, 0.7, 0.35, 0.4, 0.58, 0.75};
  for (size_t i = 0; i < kPedalKnobs.size(); ++i)
    Rotated(cr, pic(i == 7 ? "knobrotatebig.png" : "knobrotate.png"), kPedalKnobs[i].box,
            values[i]);
  for (Spot s : {kFootDown, kFootCentre, kFootUp, kFilterSwitch})
    Blit(cr, pic("fswitch.png"), s.x, s.y, 0, 2);
  Blit(cr, pic("save.png"), kSave.x, kSave.y, 0, 2);
  if (filterOn) Blit(cr, pic("led.png"), kLamp.x, kLamp.y);
  TextStyle seg{Face::Segment, kDisplayDigitSize, Hex(0x333333), Align::Right, 0};
  TopText(cr, seg, kPresetDisplay, "188");
  seg.color = Hex(0xffffff);
  TopText(cr, seg, kPresetDisplay, "05");
}

void Graph(cairo_t* cr) {
  const Box g = kGraph;
  cairo_set_line_width(cr, 1);
  SetColor(cr, Hex(0xffffff, 0.12));
  for (double f : {30, 40, 50, 100, 200, 300, 400, 500, 1000, 2000, 3000, 4000, 5000, 10000}) {
    const double x = g.x + g.w * std::log(f / 20.0) / std::log(1024.0);
    cairo_move_to(cr, std::floor(x) + 0.5, g.y);
    cairo_line_to(cr, std::floor(x) + 0.5, g.B());
  }
  for (double db : {-60, -40, -20, -12, -6, 0, 6, 12, 20}) {
    const double y = g.y + g.h * (30 - db) / 100;
    cairo_move_to(cr, g.x, std::floor(y) + 0.5);
    cairo_line_to(cr, g.R(), std::floor(y) + 0.5);
  }
  cairo_stroke(cr);
  // A cabinet-like response: rising lows, presence bump, steep top roll-off.
  for (int i = 0; i <= 400; ++i) {
    const double t = i / 400.0, f = 20 * std::pow(1024.0, t);
    double db = -18 * std::exp(-f / 90) + 4 * std::exp(-std::pow(std::log(f / 2500), 2) / 0.3) -
                40 / (1 + std::pow(5500 / f, 4)) + 2 * std::sin(t * 19);
    const double x = g.x + g.w * t, y = g.y + g.h * (30 - db) / 100;
    i == 0 ? cairo_move_to(cr, x, y) : cairo_line_to(cr, x, y);
  }
  SetColor(cr, theme::kCyan);
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
}

void ImpulseResponsePanel(cairo_t* cr, const PictureLookup& pic) {
  TopText(cr, {Face::Display, 44, kValueGrey, Align::Left, 0}, FromEdges(400, 664, 800, 734),
          "IMPULSE RESPONSE");
  Blit(cr, pic("irbg.png"), kIrPanel.x, kIrPanel.y);
  Blit(cr, pic("micbg.png"), kMicSlider.x, kMicSlider.y);
  Blit(cr, pic("mic.png"), kMicSlider.x, kMicSlider.y + (kMicSlider.h - kMicH) * 3 / 8);
  const char* rows[] = {"Off",        "Movrant",   "Lidtop",   "QS 8x10",   "Coast 2x15",
                        "Stage 2x15", "Bolt 4x10", "My Cab A", "Empty Slot"};
  for (int k = 0; k < 9; ++k)
    DrawTextInBox(cr, {Face::Regular, 24, k == 3 ? theme::kCyan : kListText, Align::Left, 0},
                  FromEdges(495, 713 + 50 * k, 725, 756 + 50 * k), rows[k]);
  for (int i = 0; i < 2; ++i) {
    const double dy = 50 * i;
    SlideSwitch(cr, FromEdges(740, 1072 + dy, 800, 1100 + dy), i == 0);
    FillCircle(cr, 830, 1085 + dy, 14, Hex(0x0c0d0e));
    StrokeCircle(cr, 830, 1085 + dy, 13, 1.5, theme::kCyanDeep);
    FillCircle(cr, 830, 1085 + dy, 10.5, Hex(0x33363b));
    TopText(cr, {Face::Display, 22, theme::kCyanDeep, Align::Centre, 0},
            FromEdges(905, 1077 + dy, 955, 1127 + dy), i == 0 ? "-3.50" : "0.00");
    VButton(cr, FromEdges(984, 1068 + dy, 1054, 1106 + dy), "IMPORT", 18);
  }
  Graph(cr);
}

void AmplifierPanel(cairo_t* cr, const PictureLookup& pic) {
  TopText(cr, {Face::Display, 44, kValueGrey, Align::Left, 0}, FromEdges(400, 664, 700, 734),
          "AMPLIFIER");
  const char* models[] = {"amp-lowdriver.png", "amp-qsbass.png",   "amp-duodriver.png",
                          "amp-vintage.png",   "amp-modern.png",   "amp-lid.png",
                          "amp-qsstack.png",   "amp-darkface.png", "amp-isle.png",
                          "amp-razor.png"};
  for (int i = 0; i < 10; ++i)
    Blit(cr, pic(models[i]), kButtonX[i % 5], i < 5 ? kButtonRow1 : kButtonRow2, i == 6 ? 1 : 0, 2);
  LargeKnob(cr, 380, 890, "PRE-AMP", "50.00", "%", 0.5);
  LargeKnob(cr, 630, 890, "DRIVE", "12.60", "%", 0.13);
  LargeKnob(cr, 880, 890, "PRESENCE", "71.65", "%", 0.72);
  Graph(cr);
}

} // namespace

void DrawMockSurface(cairo_t* cr, const PictureLookup& pic, MockPanel panel, bool filterOn) {
  Blit(cr, pic(filterOn ? "backgroundred.png" : "background.png"), 0, 0);
  PedalControls(cr, pic, filterOn);
  PresetColumn(cr);
  DeviceStatus(cr);
  if (panel == MockPanel::ImpulseResponse)
    ImpulseResponsePanel(cr, pic);
  else
    AmplifierPanel(cr, pic);
}

void DrawMockPage(cairo_t* cr, const PictureLookup& pic, const std::string& page) {
  DrawMockSurface(cr, pic, MockPanel::ImpulseResponse, false);
  Blit(cr, pic(page), 0, 0);
  if (page == "fwbg.png") {
    VButton(cr, FromEdges(1000, 650, 1200, 715), "UPDATE FIRMWARE", 18);
    VButton(cr, FromEdges(1508, 310, 1563, 350), "X", 30);
    TopText(cr, {Face::Regular, 25, Hex(0xffffff), Align::Centre, 0}, FromEdges(748, 346, 948, 376),
            "dravix.example");
  } else if (page == "globalbg.png") {
    VButton(cr, FromEdges(1444, 220, 1499, 260), "X", 30);
    const struct {
      const char* caption;
      double x, y;
      const char* value;
    } rows[] = {
        {"PATCH OFFSET", 760, 250, "0"},         {"SAFE LEVEL MODE", 760, 350, "Off"},
        {"DISENGAGE ALL POTS", 760, 450, "Off"}, {"PRESET PROTECTION WRITER", 760, 550, "Off"},
        {"TUNER FREQUENCY", 760, 650, "440 Hz"}, {"MIDI MAPPING", 980, 250, "Off"},
        {"MIDI THRU FUNCTION", 980, 350, "Off"}, {"MIDI CC MODE", 980, 450, "On"},
        {"MIDI CHANNEL SELECT", 980, 550, "1"},  {"TUNER DETUNE", 980, 650, "0"},
        {"CABINET BYPASS", 1200, 650, "Off"}};
    for (const auto& r : rows) {
      TopText(cr, {Face::Regular, 19, Hex(0xffffff), Align::Centre, 0}, {r.x, r.y, 200, 30},
              r.caption);
      const Box value{r.x, r.y + 30, 200, 40};
      FillRounded(cr, value, 0, Hex(0x464646));
      DrawTextInBox(cr, {Face::Regular, 24, Hex(0xf0f0f0), Align::Centre, 0}, value, r.value);
    }
    VButton(cr, FromEdges(1200, 283, 1300, 323), "SETUP", 20);
    VButton(cr, FromEdges(1200, 483, 1300, 523), "SETUP", 20);
    DrawTextInBox(cr, {Face::Regular, 28, Hex(0xf0f0f0), Align::Centre, 0},
                  FromEdges(900, 750, 1300, 780), "RESET TO FACTORY DEFAULT SETTINGS");
    VButton(cr, FromEdges(760, 800, 960, 850), "ALL", 20);
    VButton(cr, FromEdges(980, 800, 1180, 850), "PRESETS", 20);
    VButton(cr, FromEdges(1200, 800, 1400, 850), "SETTINGS", 20);
  } else if (page == "about.png") {
    DrawTextInBox(cr, {Face::Regular, 45, Hex(0xffffff), Align::Centre, 0},
                  FromEdges(1275, 310, 1375, 360), "v1.1.0");
  }
}

} // namespace art
